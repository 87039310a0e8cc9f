#include "compiler/memorizza_percorso.h"

#include <stdexcept>
#include <vector>

#include "compiler/errore.h"
#include "compiler/sorgenti_su_disco.h"
#include "model/nomi_file.h"
#include "platform/cartella_in_uso.h"

namespace {

// The error state of the model, with the place of the last problem recorded, and the
// warnings of the parse.
EsitoCompilazione esito(const Compilazione& c) {
  EsitoCompilazione e;
  e.avvisi = c.avvisi;
  e.codice = c.scenario.codice_errore;
  e.posizione = c.scenario.posizione_errore;
  if (!c.problemi.empty()) {
    const Problema& p = c.problemi.back();
    e.codice = p.codice;
    e.luogo = p.luogo;
    e.motivo = p.motivo;
    e.nota = p.nota;
  }
  return e;
}

}  // namespace

EsitoCompilazione scrivi_compilazione(const Compilazione& c, piattaforma::Disco& disco,
                                      const std::string& cartella) {
  if (c.scenario.percorso.empty()) {
    return esito(c);
  }
  if (c.timbri) {
    errore(std::to_string(c.timbri->codice));
  }
  if (c.guasto || !c.immagini) {
    throw std::runtime_error(c.guasto ? c.guasto->motivo : "nessuna immagine da scrivere");
  }
  const Identita id = identita_di(c.scenario);
  std::vector<piattaforma::FileDaScrivere> binari;
  if (c.scenario.con_tracciato != 0) {
    binari.push_back({nome_file(FileDellaCorsa::tracciato, id), c.immagini->tracciato});
  }
  binari.push_back({nome_file(FileDellaCorsa::voci, id), c.immagini->voci});
  binari.push_back({nome_file(FileDellaCorsa::percorso, id), c.immagini->percorso});
  piattaforma::sostituisci_insieme(disco, cartella, binari);
  EsitoCompilazione e = esito(c);
  e.file_scritti = true;
  return e;
}

EsitoCompilazione memorizza_percorso(Scenario& s, piattaforma::Disco& disco,
                                     const std::string& cartella, int32_t j) {
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = s.nome_scenario;
  opzioni.numero_treno = s.numero_treno;
  opzioni.con_tracciato = j != 0;
  SorgentiSuDisco sorgenti(disco, cartella, s);
  // The plan's storage of the model before is reused: a caller that compiles again and again
  // saves fresh memory for each plan.
  Compilazione c = compila(sorgenti, opzioni, std::move(s.tracciato));
  // The model is the caller's also when the ending stops the run.
  struct Restituisci {
    Scenario& s;
    Compilazione& c;
    ~Restituisci() { s = std::move(c.scenario); }
  } restituisci{s, c};
  return scrivi_compilazione(c, disco, cartella);
}
