#include "strumenti/marcia/avvisi_marcia.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "model/codici_errore.h"
#include "sources/codifica_1252.h"

namespace {

std::string cifre(double secondi) {
  char testo[32];
  std::snprintf(testo, sizeof testo, "%.1f", secondi);
  return testo;
}

nlohmann::ordered_json secondi_json(double secondi) {
  if (!std::isfinite(secondi)) {
    return nullptr;
  }
  return std::round(secondi * 10) / 10;
}

std::string parole_della_tratta(const Tratta& t) {
  const std::string orario = durata(static_cast<double>(t.programmato_s)) + " in orario";
  switch (t.esito) {
    case EsitoTratta::impossibile_con_ogni_treno:
      return orario + ", almeno " + durata(t.limite_s) + " ai soli limiti";
    case EsitoTratta::impossibile:
      return orario + ", la marcia piu' veloce ne chiede " + durata(t.piu_veloce_s);
    case EsitoTratta::stretto:
      return orario + ", la marcia piu' veloce ne chiede " + durata(t.piu_veloce_s) +
             ": margine di " + durata(t.margine_s);
    case EsitoTratta::ok:
      break;
  }
  return orario;
}

}  // namespace

std::optional<Marcia> marcia_della_compilazione(const Compilazione& c,
                                                const ParametriMarcia& parametri) {
  if (c.scenario.codice_errore != kNessunErrore || !c.ha_immagini()) {
    return std::nullopt;
  }
  return verifica_marcia(c.scenario, parametri);
}

std::string durata(double secondi) {
  if (!std::isfinite(secondi)) {
    return "mai";
  }
  const bool negativa = secondi < 0;
  const auto totale = static_cast<int64_t>(std::llround(std::fabs(secondi)));
  const int64_t ore = totale / 3600;
  const int64_t minuti = totale / 60 % 60;
  const int64_t resto = totale % 60;
  std::string testo;
  const auto parte = [&](int64_t n, const char* unita) {
    testo += (testo.empty() ? "" : " ") + std::to_string(n) + " " + unita;
  };
  if (ore > 0) {
    parte(ore, "h");
  }
  if (minuti > 0) {
    parte(minuti, "min");
  }
  if (resto > 0 || testo.empty()) {
    parte(resto, "s");
  }
  return negativa && totale > 0 ? "-" + testo : testo;
}

std::string tipo_avviso_marcia(EsitoTratta e) {
  return "orario-" + std::string(testo_esito(e));
}

int riga_della_tratta(const Tratta& t, const Compilazione& c) {
  return t.voce_a >= 0 && t.voce_a < kNumeroVoci ? c.campi_testo[static_cast<size_t>(t.voce_a)].riga
                                                 : 0;
}

std::vector<Diagnosi> avvisi_della_marcia(const Marcia& m, const Compilazione& c,
                                          const std::string& file_treno,
                                          const std::string& testo_treno) {
  std::vector<Diagnosi> avvisi;
  for (const Tratta& t : m.tratte) {
    if (t.esito == EsitoTratta::ok) {
      continue;
    }
    Diagnosi d;
    d.gravita = Gravita::avviso;
    d.codice = tipo_avviso_marcia(t.esito);
    const Luogo& campo = c.campi_testo[static_cast<size_t>(t.voce_a)];
    d.posto = {file_treno, campo.riga, campo.colonna};
    d.messaggio = "da " + da_1252(t.da) + " a " + da_1252(t.a) + ": " + parole_della_tratta(t);
    d.riga_sorgente = riga_del_testo(testo_treno, campo.riga);
    avvisi.push_back(std::move(d));
  }
  return avvisi;
}

std::string json_tratta(const Tratta& t, int riga) {
  nlohmann::ordered_json j;
  j["da"] = da_1252(t.da);
  j["a"] = da_1252(t.a);
  j["riga"] = riga;
  j["metri"] = t.metri;
  j["programmato_s"] = t.programmato_s;
  j["piu_veloce_s"] = secondi_json(t.piu_veloce_s);
  j["limite_s"] = secondi_json(t.limite_s);
  j["margine_s"] = secondi_json(t.margine_s);
  j["esito"] = testo_esito(t.esito);
  return j.dump();
}

std::string tabella_marcia(const Marcia& m, const Compilazione& c) {
  if (!m.difetto.empty()) {
    return "nessuna marcia: " + m.difetto + "\n";
  }
  std::string testo = "riga  da -> a  metri  in orario  piu' veloce  ai limiti  margine  esito\n";
  for (const Tratta& t : m.tratte) {
    testo += std::to_string(riga_della_tratta(t, c)) + "  " + da_1252(t.da) + " -> " +
             da_1252(t.a) + "  " + std::to_string(t.metri) + "  " +
             std::to_string(t.programmato_s) + " s  " + cifre(t.piu_veloce_s) + " s  " +
             cifre(t.limite_s) + " s  " + cifre(t.margine_s) + " s  " +
             std::string(testo_esito(t.esito)) + "\n";
  }
  return testo;
}
