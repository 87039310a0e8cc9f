#include "strumenti/lingua_scenario/analisi_sorgente.h"

#include <algorithm>

#include "sources/codifica_1252.h"
#include "strumenti/lingua_scenario/allineamento.h"

namespace {

// The whole of line `r`.
TrattoByte tutta_la_riga(const SorgenteLetta& s, int r) {
  return {{r, 0}, {r, static_cast<int>(s.riga(r).size())}};
}

const FormaRiga* forma_di(const RigaDelSorgente& l) {
  return forma_della_riga(l.sezione, l.parola, true);
}

}  // namespace

SorgenteLetta::SorgenteLetta(const TestoEditor& testo, GenereSorgente genere) : testo_(testo) {
  for (int r = 0; r < testo.righe(); ++r) {
    righe_.push_back(testo.riga_1252(r));
  }
  lette_ = leggi_righe(righe_, genere);
}

std::vector<SimboloSorgente> simboli(const SorgenteLetta& s) {
  std::vector<SimboloSorgente> elenco;
  for (int r = 0; r < s.righe(); ++r) {
    const RigaDelSorgente& l = s.letta(r);
    const TrattoByte tutta = tutta_la_riga(s, r);
    if (l.intestazione) {
      elenco.push_back({da_1252(l.parola), GenereSimbolo::sezione, tutta, tutta, {}});
      continue;
    }
    const FormaRiga* forma = forma_di(l);
    if (forma == nullptr || forma->simbolo == Simbolo::nessuno || l.valori.empty()) {
      continue;
    }
    const auto valore = [&](size_t k) {
      const ValoreLetto& v = l.valori[std::min(k, l.valori.size() - 1)];
      return da_1252(
          s.riga(r).substr(static_cast<size_t>(v.inizio), static_cast<size_t>(v.fine - v.inizio)));
    };
    SimboloSorgente simbolo{
        std::string(forma->parola) + " " + valore(0), GenereSimbolo::altro, tutta, tutta, {}};
    if (forma->simbolo == Simbolo::stazione) {
      // A station by its name, the last field.
      simbolo.nome = valore(forma->campi.size() - 1) + " (" + valore(0) + " m)";
      simbolo.genere = GenereSimbolo::stazione;
    }
    if (!elenco.empty() && elenco.back().genere == GenereSimbolo::sezione) {
      elenco.back().figli.push_back(std::move(simbolo));
      elenco.back().tratto.fine = tutta.fine;
    } else {
      elenco.push_back(std::move(simbolo));
    }
  }
  return elenco;
}

std::optional<std::vector<VoceCompletamento>> completamento(const SorgenteLetta& s, int riga) {
  if (riga < 0 || riga >= s.righe()) {
    return std::nullopt;
  }
  std::vector<VoceCompletamento> voci;
  for (const FormaRiga& f : forme_della_sezione(s.letta(riga).sezione)) {
    VoceCompletamento v{
        std::string(f.parola), std::string(f.descrizione), f.solo_con_tracciato, {}};
    for (const CampoRiga& c : f.campi) {
      v.campi.emplace_back(c.nome);
    }
    voci.push_back(std::move(v));
  }
  return voci;
}

std::optional<FirmaRiga> firma(const SorgenteLetta& s, PuntoByte p) {
  if (p.riga < 0 || p.riga >= s.righe()) {
    return std::nullopt;
  }
  const RigaDelSorgente& l = s.letta(p.riga);
  const FormaRiga* forma = forma_di(l);
  if (forma == nullptr) {
    return std::nullopt;
  }
  FirmaRiga f{std::string(forma->parola), std::string(forma->descrizione), {}, 0};
  for (const CampoRiga& c : forma->campi) {
    f.etichetta += ", " + std::string(c.nome);
    std::string nome(c.nome);
    if (!c.unita.empty()) {
      nome += " (" + std::string(c.unita) + ")";
    }
    f.parametri.push_back({std::string(c.nome), nome + ": " + testo_intervallo(c)});
  }
  f.attivo = std::max(campo_alla_colonna(s.riga(p.riga), l, p.colonna) - 1, 0);
  return f;
}

std::optional<DescrizioneRiga> descrizione(const SorgenteLetta& s, int riga,
                                           const Compilazione& c) {
  if (riga < 0 || riga >= s.righe()) {
    return std::nullopt;
  }
  return descrizione_riga(s.letta(riga), s.riga(riga), c);
}

std::vector<ModificaTesto> formattazione(const TestoEditor& t) {
  if (!t.mancanti().empty()) {
    return {};
  }
  std::string allineato = da_1252(allinea_colonne(t.byte_1252()));
  if (allineato == t.utf8()) {
    return {};
  }
  const int ultima = t.righe() - 1;
  const int fine = static_cast<int>(t.riga_1252(ultima).size());
  return {{{{0, 0}, {ultima, fine}}, std::move(allineato)}};
}

TrattoByte tratto_del_campo(const TestoEditor& t, int riga, int colonna) {
  if (riga <= 0) {
    return {};
  }
  const int r = riga - 1;
  const std::string_view b = t.riga_1252(r);
  const int da = std::max(colonna, 1);
  auto fine = static_cast<size_t>(da - 1);
  while (fine < b.size() && b[fine] != ',' && b[fine] != ' ') {
    ++fine;
  }
  int dopo = static_cast<int>(fine);
  // An empty field (a comma or a space at the place) still gets the byte there.
  if (dopo == da - 1 && colonna <= static_cast<int>(b.size())) {
    dopo = colonna;
  }
  return {{r, colonna - 1}, {r, dopo}};
}

std::string testo_intervallo(const CampoRiga& c) {
  if (c.larghezza == LarghezzaCampo::testo) {
    return "testo fino alla virgola o alla fine della riga";
  }
  std::string t = "da " + std::to_string(c.minimo) + " a " + std::to_string(c.massimo);
  if (!c.unita.empty()) {
    t += " " + std::string(c.unita);
  }
  return t;
}
