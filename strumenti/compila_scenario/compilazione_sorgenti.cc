#include "strumenti/compila_scenario/compilazione_sorgenti.h"


#include "app/form_load.h"
#include "compiler/compila.h"
#include "model/codici_errore.h"
#include "model/nomi_file.h"
#include "platform/cartella_in_uso.h"
#include "sources/codifica_1252.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "strumenti/comune/diagnosi_compilazione.h"

RisultatoCompilazione compila_sorgenti_autore(piattaforma::Disco& disco,
                                              const RichiestaCompilazione& richiesta) {
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = in_1252(richiesta.identita.scenario);
  opzioni.numero_treno = in_1252(richiesta.identita.treno);
  opzioni.con_tracciato = richiesta.con_tracciato;
  const Identita nomi_compilazione{opzioni.nome_scenario, opzioni.numero_treno};
  // Both are read before anything is compiled or written.
  std::vector<SorgenteAutore> sorgenti = {
      {richiesta.linea, nome_file(FileDellaCorsa::sorgente_linea, nomi_compilazione),
       disco.leggi(richiesta.linea)},
      {richiesta.treno, nome_file(FileDellaCorsa::sorgente_treno, nomi_compilazione),
       disco.leggi(richiesta.treno)},
  };
  RisultatoCompilazione r;
  r.compilazione = compila(sorgenti[0].testo, sorgenti[1].testo, opzioni);
  const Compilazione& c = r.compilazione;
  r.diagnosi = diagnosi_della_compilazione(c, sorgenti);
  r.sorgenti = std::move(sorgenti);
  r.errore_nei_dati = c.scenario.codice_errore != kNessunErrore || !c.ha_immagini();
  if (!c.ha_immagini()) {
    return r;
  }
  // The files under the names of the identity as given, replaced together as the builder
  // replaces them, with the folder held as the builder holds it.
  const Identita& id = richiesta.identita;
  const Immagini& immagini = *c.immagini;
  std::vector<piattaforma::FileDaScrivere> binari;
  if (richiesta.con_tracciato) {
    binari.push_back({nome_file(FileDellaCorsa::tracciato, id), immagini.tracciato});
  }
  binari.push_back({nome_file(FileDellaCorsa::voci, id), immagini.voci});
  binari.push_back({nome_file(FileDellaCorsa::percorso, id), immagini.percorso});
  r.file_scritti = piattaforma::scrivi_insieme(disco, richiesta.cartella, binari);
  return r;
}

void avvisi_come_errori(std::vector<Diagnosi>& diagnosi) {
  for (Diagnosi& d : diagnosi) {
    if (d.gravita == Gravita::avviso) {
      d.gravita = Gravita::errore;
    }
  }
}

std::vector<std::string> scrivi_esempio(piattaforma::Disco& disco, const std::string& cartella) {
  const Identita id{kNomeScenario, kNumeroTreno};
  const std::string linea = disco.percorso_in(cartella, nome_file(FileDellaCorsa::sorgente_linea, id));
  const std::string treno = disco.percorso_in(cartella, nome_file(FileDellaCorsa::sorgente_treno, id));
  for (const std::string& p : {linea, treno}) {
    if (disco.esiste(p)) {
      throw piattaforma::ErroreFile("creare", p, "esiste gia' e non viene sovrascritto");
    }
  }
  scrivi_righe(disco, dati_linea(), linea);
  scrivi_righe(disco, dati_treno(), treno);
  return {linea, treno};
}
