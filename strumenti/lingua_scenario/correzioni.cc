#include "strumenti/lingua_scenario/correzioni.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <variant>

#include "compiler/celle.h"
#include "compiler/esito_compilazione.h"
#include "model/codici_errore.h"
#include "sources/codifica_1252.h"

namespace {

constexpr int64_t kPassoStazione = 50;    // a station's position is a multiple of this
constexpr int64_t kPassoLunghezza = 100;  // and its length a multiple of this

char minuscola(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view senza_spazi_finali(std::string_view t) {
  const size_t fine = t.find_last_not_of(' ');
  return fine == std::string_view::npos ? std::string_view() : t.substr(0, fine + 1);
}

// The whole number written in the field at `tratto`; none for anything else.
std::optional<int64_t> numero_nel_campo(const SorgenteLetta& s, const TrattoByte& tratto) {
  const std::string_view riga = s.riga(tratto.inizio.riga);
  if (tratto.inizio.colonna < 0 || tratto.fine.colonna > static_cast<int>(riga.size()) ||
      tratto.fine.colonna <= tratto.inizio.colonna) {
    return std::nullopt;
  }
  const std::string_view t =
      riga.substr(static_cast<size_t>(tratto.inizio.colonna),
                  static_cast<size_t>(tratto.fine.colonna - tratto.inizio.colonna));
  int64_t n = 0;
  const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (errore != std::errc() || fine != t.data() + t.size()) {
    return std::nullopt;
  }
  return n;
}

// The field at the problem's place, rounded to the nearest multiple of `passo` (a half to the
// even multiple, as a chainage is taken to its cell).
std::optional<Correzione> multiplo_vicino(const SorgenteLetta& s, const Luogo& l, int64_t passo,
                                          const char* campo) {
  const TrattoByte tratto = tratto_del_campo(s.testo(), l.riga, l.colonna);
  const std::optional<int64_t> n = numero_nel_campo(s, tratto);
  if (!n) {
    return std::nullopt;
  }
  const std::string valore = std::to_string(passo * dividi_arrotonda(*n, passo));
  return Correzione{std::string(campo) + " " + valore + ", il multiplo di " +
                        std::to_string(passo) + " piu' vicino",
                    {{tratto, valore}}};
}

// The keyword of the section's kind nearest to the one written; a curve keeps its class digit
// and is offered only with one, since a curve without a class is an error of its own.
std::optional<Correzione> parola_vicina(const SorgenteLetta& s, const Luogo& l) {
  const int r = l.riga - 1;
  const RigaDelSorgente& letta = s.letta(r);
  if (letta.inizio_parola != l.colonna - 1 || letta.intestazione || letta.commento) {
    return std::nullopt;
  }
  const std::string_view scritta = senza_spazi_finali(letta.parola);
  if (scritta.empty()) {
    return std::nullopt;
  }
  const size_t cifra = scritta.find_first_of("123456");
  std::optional<std::string> migliore;
  size_t distanza_migliore = 0;
  for (const FormaRiga& f : forme_della_sezione(letta.sezione)) {
    std::string candidata(f.parola);
    if (f.solo_con_tracciato) {
      if (cifra == std::string_view::npos) {
        continue;
      }
      candidata += scritta[cifra];
    }
    const size_t d = distanza_di_modifica(scritta, candidata);
    if (!migliore || d < distanza_migliore) {
      migliore = std::move(candidata);
      distanza_migliore = d;
    }
  }
  // A word that far from every keyword is no slip of the keyboard: no repair is obvious.
  if (!migliore || distanza_migliore > std::max<size_t>(2, migliore->size() / 3)) {
    return std::nullopt;
  }
  const TrattoByte tratto{{r, letta.inizio_parola},
                          {r, letta.inizio_parola + static_cast<int>(scritta.size())}};
  return Correzione{"parola chiave " + da_1252(*migliore), {{tratto, da_1252(*migliore)}}};
}

// From the end of the row's own values (the spaces and the comma before the first value too
// many) to the end of the line.
std::optional<Correzione> senza_valori_in_piu(const SorgenteLetta& s, const Luogo& l) {
  const int r = l.riga - 1;
  const std::string_view riga = s.riga(r);
  auto inizio = static_cast<size_t>(std::clamp(l.colonna - 1, 0, static_cast<int>(riga.size())));
  while (inizio > 0 && riga[inizio - 1] == ' ') {
    --inizio;
  }
  if (inizio > 0 && riga[inizio - 1] == ',') {
    --inizio;
  }
  while (inizio > 0 && riga[inizio - 1] == ' ') {
    --inizio;
  }
  if (inizio == 0 || inizio >= riga.size()) {
    return std::nullopt;
  }
  return Correzione{"togli i valori in piu'",
                    {{{{r, static_cast<int>(inizio)}, {r, static_cast<int>(riga.size())}}, ""}}};
}

// The line's end as the text has it: what lies between line `r` and the next.
std::string fine_riga(const TestoEditor& t, int r) {
  const std::string_view questa = t.riga(r);
  const std::string_view dopo = t.riga(r + 1);
  return std::string(questa.data() + questa.size(), dopo.data());
}

// The row moves to the line right after the first "[generale]" below it.
std::optional<Correzione> sotto_generale(const SorgenteLetta& s, const Luogo& l) {
  const int r = l.riga - 1;
  int g = r + 1;
  while (g < s.righe() && !apre_generale(s.letta(g).parola)) {
    ++g;
  }
  if (g >= s.righe() || s.letta(r).sezione != Sezione::prima_di_generale) {
    return std::nullopt;
  }
  const TestoEditor& t = s.testo();
  const std::string riga(t.riga(r));
  const std::string fine = fine_riga(t, r);
  ModificaTesto inserita{{{g + 1, 0}, {g + 1, 0}}, riga + fine};
  if (g + 1 >= s.righe()) {
    const int dopo_intestazione = static_cast<int>(s.riga(g).size());
    inserita = {{{g, dopo_intestazione}, {g, dopo_intestazione}}, fine + riga};
  }
  return Correzione{"sposta la riga sotto [generale]",
                    {{{{r, 0}, {r + 1, 0}}, ""}, std::move(inserita)}};
}

}  // namespace

std::optional<Correzione> correzione(const SorgenteLetta& s, const Diagnosi& d) {
  if (d.posto.riga < 1 || d.posto.riga > s.righe()) {
    return std::nullopt;
  }
  if (const auto* codice = std::get_if<int32_t>(&d.codice)) {
    switch (*codice) {
      case kStazioneNonMultipla:
        return multiplo_vicino(s, d.posto, kPassoStazione, "posizione");
      case kLunghezzaStazioneNonMultipla:
        return multiplo_vicino(s, d.posto, kPassoLunghezza, "lunghezza");
      default:
        return std::nullopt;
    }
  }
  const auto* tipo = std::get_if<std::string>(&d.codice);
  if (tipo == nullptr) {
    return std::nullopt;
  }
  if (*tipo == nome_avviso(TipoAvviso::riga_sconosciuta)) {
    return parola_vicina(s, d.posto);
  }
  if (*tipo == nome_avviso(TipoAvviso::valori_in_piu)) {
    return senza_valori_in_piu(s, d.posto);
  }
  if (*tipo == nome_avviso(TipoAvviso::prima_di_generale)) {
    return sotto_generale(s, d.posto);
  }
  return std::nullopt;
}

size_t distanza_di_modifica(std::string_view a, std::string_view b) {
  std::vector<size_t> riga(b.size() + 1);
  std::iota(riga.begin(), riga.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonale = riga[0];
    riga[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t sopra = riga[j];
      const size_t cambio = minuscola(a[i - 1]) == minuscola(b[j - 1]) ? 0 : 1;
      riga[j] = std::min({sopra + 1, riga[j - 1] + 1, diagonale + cambio});
      diagonale = sopra;
    }
  }
  return riga[b.size()];
}
