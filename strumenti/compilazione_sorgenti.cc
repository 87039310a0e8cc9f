#include "strumenti/compilazione_sorgenti.h"

#include <stdexcept>

#include "app/form_load.h"
#include "compiler/errore.h"
#include "compiler/memorizza_dati.h"
#include "compiler/memorizza_percorso.h"
#include "model/codici_errore.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"
#include "platform/sostituzione.h"
#include "sources/codifica_1252.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

// Where the sources lie on the disk in memory. Its separator is '/', whatever the machine's.
constexpr const char* kCartellaInMemoria = "/sorgenti";

// A source the author gave, by the name the compile reads it under.
struct Sorgente {
  std::string percorso;  // as the author gave it
  std::string nome;      // in memory
  std::string testo;
};

class Sorgenti {
 public:
  Sorgenti(Sorgente linea, Sorgente treno) : linea_(std::move(linea)), treno_(std::move(treno)) {}

  // The place in the author's file of a place the compile names.
  Posto posto(const Luogo& l) const {
    const Sorgente* s = di(l.file);
    return {s != nullptr ? s->percorso : l.file, l.riga, l.colonna};
  }
  std::string riga(const Luogo& l) const {
    const Sorgente* s = di(l.file);
    return s != nullptr && l.riga > 0 ? riga_del_testo(s->testo, l.riga) : std::string();
  }

 private:
  const Sorgente* di(const std::string& nome) const {
    if (nome == linea_.nome) {
      return &linea_;
    }
    if (nome == treno_.nome) {
      return &treno_;
    }
    return nullptr;
  }

  Sorgente linea_;
  Sorgente treno_;
};

// What the earlier row that a problem names is, by the problem's code.
std::string testo_della_nota(int32_t codice) {
  switch (codice) {
    case kStazioneTroppoVicina:
      return "la stazione precedente";
    case kOltreIlPercorso:
      return "l'elemento oltre la fine del percorso e' qui";
    default:
      return "la cella e' gia' occupata dall'elemento di questa riga";
  }
}

// The sources under the names the compile of `s` reads.
void metti_in_memoria(piattaforma::DiscoInMemoria& memoria, const Scenario& s,
                      const std::string& linea, const std::string& treno) {
  memoria.ricrea(memoria.percorso_in(kCartellaInMemoria, nome_sorgente_linea(s)), linea);
  memoria.ricrea(memoria.percorso_in(kCartellaInMemoria, nome_sorgente_treno(s)), treno);
}

// The row whose item holds cell 1 after the parse of `s`'s sources. The compile that found the
// stamp's field taken ended without saying it: the same parse, run again on the same bytes
// with a model set up as the compile sets it, leaves the rows of the track's items.
std::optional<Luogo> riga_della_cella_1(const Scenario& s, const std::string& linea,
                                        const std::string& treno) {
  Scenario di_nuovo;
  di_nuovo.nome_scenario = s.nome_scenario;
  di_nuovo.numero_treno = s.numero_treno;
  di_nuovo.con_tracciato = s.con_tracciato;
  piattaforma::DiscoInMemoria memoria;
  metti_in_memoria(memoria, di_nuovo, linea, treno);
  return memorizza_dati(di_nuovo, memoria, kCartellaInMemoria).provenienze.di(1);
}

Diagnosi errore_della_compilazione(const EsitoCompilazione& e, const Sorgenti& sorgenti) {
  Diagnosi d;
  d.gravita = Gravita::errore;
  d.codice = e.codice;
  d.messaggio = std::string(significato(e.codice));
  if (!e.motivo.empty()) {
    d.messaggio += ": " + e.motivo;
  }
  if (e.codice == kOltreIlPercorso && e.nota) {
    // The code was left by the row of the note; this later row is where it stopped the parse.
    d.messaggio += " (trovato a questa riga, che ferma la lettura)";
  }
  if (!e.luogo.file.empty()) {
    d.posto = sorgenti.posto(e.luogo);
    d.riga_sorgente = sorgenti.riga(e.luogo);
  }
  if (e.nota) {
    d.note.push_back({sorgenti.posto(*e.nota), testo_della_nota(e.codice), sorgenti.riga(*e.nota)});
  }
  return d;
}

Diagnosi avviso_della_compilazione(const Avviso& a, const Sorgenti& sorgenti) {
  Diagnosi d;
  d.gravita = Gravita::avviso;
  d.codice = std::string(nome_avviso(a.tipo));
  d.messaggio = a.testo;
  d.posto = sorgenti.posto(a.luogo);
  d.riga_sorgente = sorgenti.riga(a.luogo);
  if (a.nota) {
    d.note.push_back({sorgenti.posto(*a.nota), a.testo_nota, sorgenti.riga(*a.nota)});
  }
  return d;
}

}  // namespace

RisultatoCompilazione compila_sorgenti_autore(piattaforma::Disco& disco,
                                              const RichiestaCompilazione& richiesta) {
  Scenario s;
  s.nome_scenario = in_1252(richiesta.identita.scenario);
  s.numero_treno = in_1252(richiesta.identita.treno);
  // Both are read before anything is compiled or written; the compile reads its own copies.
  const std::string linea_letta = disco.leggi(richiesta.linea);
  const std::string treno_letto = disco.leggi(richiesta.treno);
  piattaforma::DiscoInMemoria memoria;
  metti_in_memoria(memoria, s, linea_letta, treno_letto);
  const Sorgenti sorgenti{{richiesta.linea, nome_sorgente_linea(s), linea_letta},
                          {richiesta.treno, nome_sorgente_treno(s), treno_letto}};

  RisultatoCompilazione r;
  EsitoCompilazione esito;
  try {
    esito = memorizza_percorso(s, memoria, kCartellaInMemoria, richiesta.con_tracciato ? 1 : 0);
  } catch (const ErroreTerminale& e) {
    // A stamp finds its field taken: nothing is written, as in the builder. The message names
    // the row whose item holds cell 1.
    Diagnosi d;
    d.messaggio = std::string(e.what()).substr(1) +
                  ": i timbri dello scenario trovano la cella 1 (i primi 50 m) gia' occupata";
    if (const std::optional<Luogo> riga = riga_della_cella_1(s, linea_letta, treno_letto)) {
      d.posto = sorgenti.posto(*riga);
      d.riga_sorgente = sorgenti.riga(*riga);
    }
    r.diagnosi.push_back(std::move(d));
    r.errore_nei_dati = true;
    return r;
  }
  for (const Avviso& a : esito.avvisi) {
    r.diagnosi.push_back(avviso_della_compilazione(a, sorgenti));
  }
  if (esito.codice != kNessunErrore) {
    r.diagnosi.push_back(errore_della_compilazione(esito, sorgenti));
  }
  r.errore_nei_dati = esito.codice != kNessunErrore || !esito.file_scritti;

  // The files the compile wrote, under the names of the identity as given, replaced together
  // as the builder replaces them, with the folder held as the builder holds it.
  Scenario dato;
  dato.nome_scenario = richiesta.identita.scenario;
  dato.numero_treno = richiesta.identita.treno;
  const std::pair<std::string, std::string> binari[] = {
      {nome_file_tracciato(s), nome_file_tracciato(dato)},
      {nome_file_voci(s), nome_file_voci(dato)},
      {nome_file_percorso(s), nome_file_percorso(dato)},
  };
  std::vector<std::string> nomi;
  for (const auto& binario : binari) {
    nomi.push_back(binario.second);
  }
  const auto presa = disco.blocca(richiesta.cartella);
  // Temporary files that a killed run left, and those whose removal failed on the way: with
  // the folder held, none can be a live run's.
  disco.elimina_temporanei(richiesta.cartella, nomi);
  std::vector<std::string> scritti;
  try {
    piattaforma::Sostituzione insieme(disco);
    for (const auto& [in_memoria, sul_disco] : binari) {
      const std::string da = memoria.percorso_in(kCartellaInMemoria, in_memoria);
      if (memoria.esiste(da)) {
        const std::string a = disco.percorso_in(richiesta.cartella, sul_disco);
        insieme.prepara(a, memoria.leggi(da));
        scritti.push_back(a);
      }
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
