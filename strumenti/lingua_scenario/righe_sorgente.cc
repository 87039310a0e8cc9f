#include "strumenti/lingua_scenario/righe_sorgente.h"

#include <charconv>

namespace {

// The values after the keyword: a text value runs to the comma, numbers are also split by
// spaces, as the field reader splits them.
std::vector<ValoreLetto> valori_di(std::string_view riga, size_t dopo_parola,
                                   const FormaRiga* tipo) {
  std::vector<ValoreLetto> valori;
  size_t i = dopo_parola;
  while (i < riga.size()) {
    while (i < riga.size() && riga[i] == ' ') {
      ++i;
    }
    const size_t campo = valori.size();
    const bool testo = tipo != nullptr && campo < tipo->campi.size() && tipo->campi[campo].larghezza == LarghezzaCampo::testo;
    const size_t inizio = i;
    while (i < riga.size() && riga[i] != ',' && (testo || riga[i] != ' ')) {
      ++i;
    }
    valori.push_back({static_cast<int>(inizio), static_cast<int>(i)});
    while (i < riga.size() && riga[i] == ' ') {
      ++i;
    }
    if (i < riga.size() && riga[i] == ',') {
      ++i;
    }
  }
  return valori;
}

}  // namespace

std::vector<RigaDelSorgente> leggi_righe(const std::vector<std::string_view>& righe, GenereSorgente g) {
  std::vector<RigaDelSorgente> lette;
  Sezione sezione = Sezione::prima_di_generale;
  for (const std::string_view riga : righe) {
    RigaDelSorgente r;
    size_t i = riga.find_first_not_of(' ');
    if (i == std::string_view::npos) {
      i = riga.size();
    }
    const size_t virgola = std::min(riga.find(',', i), riga.size());
    r.inizio_parola = static_cast<int>(i);
    r.parola = std::string(riga.substr(i, virgola - i));
    r.intestazione = intestazione_di_sezione(r.parola);
    r.commento = commento(r.parola);
    if (apre_generale(r.parola) && sezione == Sezione::prima_di_generale) {
      sezione = g == GenereSorgente::linea ? Sezione::linea_generale : Sezione::treno;
    } else if (r.intestazione && sezione == Sezione::linea_generale) {
      sezione = Sezione::linea_principale;
    }
    r.sezione = sezione;
    if (virgola < riga.size()) {
      r.valori = valori_di(riga, virgola + 1, forma_della_riga(sezione, r.parola, true));
    }
    lette.push_back(std::move(r));
  }
  return lette;
}

int campo_alla_colonna(std::string_view riga, const RigaDelSorgente& letta, int colonna) {
  const size_t fine_parola = std::min(riga.find(',', static_cast<size_t>(letta.inizio_parola)),
                                      riga.size());
  if (colonna <= static_cast<int>(fine_parola)) {
    return 0;
  }
  int campo = 1;
  for (size_t k = 1; k < letta.valori.size(); ++k) {
    // A value begins where its field does: the space or comma before it belongs to it.
    if (colonna > letta.valori[k - 1].fine) {
      campo = static_cast<int>(k) + 1;
    }
  }
  return campo;
}

std::optional<int64_t> numero_del_valore(std::string_view riga, const ValoreLetto& v) {
  const std::string_view t =
      riga.substr(static_cast<size_t>(v.inizio), static_cast<size_t>(v.fine - v.inizio));
  if (t.empty()) {
    return 0;
  }
  int64_t n = 0;
  const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (errore != std::errc() || fine != t.data() + t.size()) {
    return std::nullopt;
  }
  return n;
}
