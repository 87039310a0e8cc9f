#include "strumenti/compila_scenario/compilazione_sorgenti.h"

#include <string_view>
#include <utility>

#include "app/form_load.h"
#include "compiler/compila.h"
#include "model/codici_errore.h"
#include "model/nomi_file.h"
#include "platform/sostituzione.h"
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
  Scenario nomi_compilazione;
  nomi_compilazione.nome_scenario = opzioni.nome_scenario;
  nomi_compilazione.numero_treno = opzioni.numero_treno;
  // Both are read before anything is compiled or written.
  const std::vector<SorgenteAutore> sorgenti = {
      {richiesta.linea, nome_sorgente_linea(nomi_compilazione), disco.leggi(richiesta.linea)},
      {richiesta.treno, nome_sorgente_treno(nomi_compilazione), disco.leggi(richiesta.treno)},
  };
  RisultatoCompilazione r;
  r.compilazione = compila(sorgenti[0].testo, sorgenti[1].testo, opzioni);
  const Compilazione& c = r.compilazione;
  r.diagnosi = diagnosi_della_compilazione(c, sorgenti);
  r.errore_nei_dati = c.scenario.codice_errore != kNessunErrore || !c.ha_immagini();
  if (!c.ha_immagini()) {
    return r;
  }

  // The files under the names of the identity as given, replaced together as the builder
  // replaces them, with the folder held as the builder holds it.
  Scenario dato;
  dato.nome_scenario = richiesta.identita.scenario;
  dato.numero_treno = richiesta.identita.treno;
  const Immagini& immagini = *c.immagini;
  std::vector<std::pair<std::string, std::string_view>> binari;
  if (richiesta.con_tracciato) {
    binari.emplace_back(nome_file_tracciato(dato), immagini.tracciato);
  }
  binari.emplace_back(nome_file_voci(dato), immagini.voci);
  binari.emplace_back(nome_file_percorso(dato), immagini.percorso);
  std::vector<std::string> nomi;
  for (const auto& binario : binari) {
    nomi.push_back(binario.first);
  }
  const auto presa = disco.blocca(richiesta.cartella);
  // Temporary files that a killed run left, and those whose removal failed on the way: with
  // the folder held, none can be a live run's.
  disco.elimina_temporanei(richiesta.cartella, nomi);
  std::vector<std::string> scritti;
  try {
    piattaforma::Sostituzione insieme(disco);
    for (const auto& [nome, byte] : binari) {
      const std::string a = disco.percorso_in(richiesta.cartella, nome);
      insieme.prepara(a, byte);
      scritti.push_back(a);
    }
    insieme.completa();
  } catch (const piattaforma::ErroreFile&) {
    try {
      disco.elimina_temporanei(richiesta.cartella, nomi);
    } catch (const piattaforma::ErroreFile&) {
      // The failure to report is the first one; the next run sweeps again.
    }
    throw;
  }
  disco.elimina_temporanei(richiesta.cartella, nomi);
  r.file_scritti = std::move(scritti);
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
  Scenario s;
  s.nome_scenario = in_1252(kNomeScenario);
  s.numero_treno = in_1252(kNumeroTreno);
  const std::string linea = disco.percorso_in(cartella, nome_sorgente_linea(s));
  const std::string treno = disco.percorso_in(cartella, nome_sorgente_treno(s));
  for (const std::string& p : {linea, treno}) {
    if (disco.esiste(p)) {
      throw piattaforma::ErroreFile("creare", p, "esiste gia' e non viene sovrascritto");
    }
  }
  scrivi_righe(disco, dati_linea(), linea);
  scrivi_righe(disco, dati_treno(), treno);
  return {linea, treno};
}
