#include "strumenti/lingua_scenario/marcia_coppia.h"

#include <algorithm>

#include "model/nomi_file.h"
#include "sources/codifica_1252.h"
#include "strumenti/marcia/avvisi_marcia.h"
#include "strumenti/marcia/parametri_autore.h"

namespace {

std::pair<std::string, std::string> cartella_e_nome(const std::string& percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  if (barra == std::string::npos) {
    return {".", percorso};
  }
  return {percorso.substr(0, barra), percorso.substr(barra + 1)};
}

// The text of the parameters file at `percorso`: the editor's when it is open, the disk's
// otherwise; none when there is no such file.
std::optional<std::string> testo_parametri(const std::string& percorso,
                                           const DocumentiAperti& aperti,
                                           piattaforma::Disco& disco) {
  const auto a = std::find_if(aperti.begin(), aperti.end(), [&](const auto& e) {
    return e.second.percorso == percorso && e.second.testo;
  });
  if (a != aperti.end()) {
    return a->second.testo->byte_1252();
  }
  if (disco.esiste(percorso)) {
    return disco.leggi(percorso);
  }
  return std::nullopt;
}

}  // namespace

MarciaCoppia marcia_della_coppia(const CoppiaCompilata& k, const DocumentiAperti& aperti,
                                 piattaforma::Disco& disco) {
  MarciaCoppia m;
  if (!k.treno.testo) {
    return m;
  }
  ParametriAutore parametri;
  const auto [cartella, nome] = cartella_e_nome(k.linea.percorso);
  const std::optional<NomeRiconosciuto> n = riconosci_nome(nome);
  if (n && n->file == FileDellaCorsa::sorgente_linea) {
    const std::string file = cartella + "/" + nome_file_marcia(n->identita.scenario);
    try {
      if (const std::optional<std::string> testo = testo_parametri(file, aperti, disco)) {
        parametri = parametri_dal_testo(file, *testo);
      }
    } catch (const piattaforma::ErroreFile& e) {
      parametri.errori.push_back(diagnosi_del_file(e));
    }
  }
  for (const Diagnosi& e : parametri.errori) {
    Diagnosi d = e;
    d.posto = {k.treno.percorso, 0, 0};
    d.messaggio =
        "parametri della marcia, " +
        testo_del_luogo({cartella_e_nome(e.posto.file).second, e.posto.riga, e.posto.colonna}) +
        ": " + e.messaggio;
    d.riga_sorgente.clear();
    m.problemi.push_back(std::move(d));
  }
  if (!parametri.errori.empty()) {
    return m;
  }
  m.marcia = marcia_della_compilazione(k.c, parametri.parametri);
  if (m.marcia) {
    for (Diagnosi& d :
         avvisi_della_marcia(*m.marcia, k.c, k.treno.percorso, k.treno.testo->byte_1252())) {
      m.problemi.push_back(std::move(d));
    }
  }
  return m;
}

std::vector<Diagnosi> diagnosi_della_marcia(const CoppiaCompilata& k, const Fonte& per,
                                            const DocumentiAperti& aperti,
                                            piattaforma::Disco& disco) {
  if (per.percorso != k.treno.percorso || per.percorso == k.linea.percorso) {
    return {};
  }
  return marcia_della_coppia(k, aperti, disco).problemi;
}

std::vector<std::string> voci_della_tratta(const Marcia& m, const Compilazione& c, int riga) {
  for (const Tratta& t : m.tratte) {
    if (riga_della_tratta(t, c) != riga) {
      continue;
    }
    return {
        "tratta da " + da_1252(t.da) + " a " + da_1252(t.a) + ": " + std::to_string(t.metri) + " m",
        "in orario: " + durata(static_cast<double>(t.programmato_s)),
        "marcia piu' veloce: " + durata(t.piu_veloce_s),
        "ai soli limiti: " + durata(t.limite_s),
        "margine: " + durata(t.margine_s),
        "esito: " + std::string(testo_esito(t.esito))};
  }
  return {};
}
