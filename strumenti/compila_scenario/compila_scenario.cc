// compila_scenario: compiles an author's two sources into the three files the simulator loads,
// with the builder's own compile, and says where in the sources each problem lies. The sources
// are read and never changed. Exit status 0 when the files are written and nothing is wrong,
// 1 for a problem in the data (or a warning, with --avvisi-come-errori), 2 for a file that
// cannot be read or written, or wrong arguments.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "strumenti/comune/argomenti.h"
#include "strumenti/compila_scenario/compilazione_sorgenti.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/comune/identita_sorgenti.h"
#include "strumenti/compila_scenario/osservazione.h"
#include "strumenti/marcia/avvisi_marcia.h"
#include "strumenti/marcia/parametri_autore.h"

namespace {

constexpr const char* kProgramma = "compila_scenario";
using piattaforma::kStatoErrore;  // a problem in the data
using piattaforma::kStatoGuasto;  // a file that cannot be read or written, wrong arguments

constexpr const char* kUso =
    "uso: compila_scenario LINEA TRENO [--cartella DIR] [--scenario NOME] [--treno NUMERO]\n"
    "                      [--senza-tracciato] [--json] [--avvisi-come-errori]\n"
    "                      [--marcia] [--marcia-parametro CHIAVE=VALORE]...\n"
    "                      [--osserva [--porta N]]\n"
    "     compila_scenario --esempio DIR\n"
    "     compila_scenario --help | --version";

constexpr const char* kAiuto = R"(
Compila la sorgente della linea (LINEA) e quella del treno (TRENO) nei tre file che il
simulatore carica, con lo stesso compilatore del costruttore. Le sorgenti non vengono ne'
cambiate ne' cancellate.

  LINEA, TRENO          le due sorgenti; con i nomi NOME_linea.txt e NOME_NUMERO-.txt danno
                        da se' il nome dello scenario e il numero del treno
  --cartella DIR        dove scrivere i file (NOME_linea.dat, NOME_NUMERO.sim,
                        NOME_NUMERO.dat); se manca, la cartella corrente
  --scenario NOME       il nome dello scenario, se non si ricava dal nome di LINEA
  --treno NUMERO        il numero del treno, se non si ricava dal nome di TRENO
  --senza-tracciato     non costruisce la pianta della linea e non scrive NOME_linea.dat
  --json                ogni problema come un oggetto JSON su una riga, sullo standard output
  --avvisi-come-errori  ogni avviso conta come un errore
  --marcia              scrive anche la verifica dell'orario, tratta per tratta: la marcia
                        piu' veloce ammessa dai limiti e dal treno contro l'orario (con
                        --json un oggetto JSON per tratta sullo standard output, e i
                        problemi sullo standard error)
  --marcia-parametro CHIAVE=VALORE
                        un parametro della verifica (potenza_kw=4200, ...), sopra quelli
                        del file NOME_marcia.txt accanto a LINEA; si puo' ripetere
  --osserva             dopo la prima compilazione resta in ascolto: a ogni salvataggio di
                        una sorgente compila di nuovo, riscrive i file e aggiorna la pagina
                        servita su http://127.0.0.1:N/ (l'indirizzo e' scritto all'avvio);
                        finisce con Ctrl+C
  --porta N             la porta della pagina; 0 o assente: una porta libera
  --esempio DIR         scrive in DIR le sorgenti dello scenario incorporato
                        (Tavena_Crostia_linea.txt e Tavena_Crostia_4417-.txt), da cui partire
  --help, -h            questo aiuto
  --version             il nome e la versione del programma

Ogni problema e' scritto come "file:riga:colonna: errore N: significato", con la riga della
sorgente e un accento sotto il campo. Stato d'uscita: 0 file scritti e nessun errore; 1 un
errore nei dati (i file sono scritti come li scrive il costruttore, nessuno se manca il
percorso); 2 un file che non si legge o non si scrive, o argomenti sbagliati.
)";

constexpr PresentazioneStrumento kPresentazione{kProgramma, kUso, kAiuto};

int argomenti_sbagliati(const std::string& messaggio) {
  return argomenti_sbagliati(kPresentazione, messaggio);
}

struct Argomenti {
  std::vector<std::string> sorgenti;
  std::string cartella = ".";
  std::optional<std::string> scenario;
  std::optional<std::string> treno;
  std::optional<std::string> esempio;
  bool senza_tracciato = false;
  bool json = false;
  bool avvisi_come_errori = false;
  bool marcia = false;
  std::vector<std::string> parametri_marcia;
  bool osserva = false;
  std::optional<int> porta;
};

// A problem on standard error as compilers print one, or as a line of JSON: on standard
// output, or on standard error when standard output carries the stretches of the check.
void stampa(const Diagnosi& d, bool json, bool json_su_errore = false) {
  if (json) {
    (json_su_errore ? std::cerr : std::cout) << json_diagnosi(d) << "\n";
  } else {
    std::cerr << testo_diagnosi(d, kProgramma);
  }
}

int esempio(const std::string& cartella) {
  piattaforma::DiscoReale disco;
  try {
    for (const std::string& p : scrivi_esempio(disco, cartella)) {
      std::cout << "scritto " << p << "\n";
    }
  } catch (const piattaforma::ErroreFile& e) {
    stampa(diagnosi_del_file(e), false);
    return kStatoGuasto;
  }
  return 0;
}

// The check's stretches: a table, or one JSON object a line, in running order; why there is
// none on standard error.
void stampa_marcia(const std::optional<Marcia>& marcia, const RisultatoCompilazione& r,
                   bool json) {
  if (!marcia) {
    std::cerr << kProgramma << ": nessuna verifica dell'orario: la compilazione ha errori\n";
    return;
  }
  if (!json) {
    std::cout << tabella_marcia(*marcia, r.compilazione);
    return;
  }
  if (!marcia->difetto.empty()) {
    std::cerr << kProgramma << ": nessuna marcia: " << marcia->difetto << "\n";
  }
  for (const Tratta& t : marcia->tratte) {
    std::cout << json_tratta(t, riga_della_tratta(t, r.compilazione)) << "\n";
  }
}

int compila(const Argomenti& a, const Identita& identita) {
  piattaforma::DiscoReale disco;
  RichiestaCompilazione richiesta;
  richiesta.linea = a.sorgenti[0];
  richiesta.treno = a.sorgenti[1];
  richiesta.cartella = a.cartella;
  richiesta.identita = identita;
  richiesta.con_tracciato = !a.senza_tracciato;
  RisultatoCompilazione r;
  try {
    r = compila_sorgenti_autore(disco, richiesta);
  } catch (const piattaforma::ErroreFile& e) {
    stampa(diagnosi_del_file(e), a.json);
    return kStatoGuasto;
  }
  // The timetable's check, with the parameters of the author's file and options: its
  // warnings stand with the compile's, after them.
  const ParametriAutore parametri =
      parametri_autore(disco, richiesta.linea, identita, a.parametri_marcia);
  const std::optional<Marcia> marcia =
      parametri.errori.empty() ? marcia_della_compilazione(r.compilazione, parametri.parametri)
                               : std::nullopt;
  if (marcia) {
    for (Diagnosi& d : avvisi_della_marcia(*marcia, r.compilazione, richiesta.treno,
                                           r.sorgenti[1].testo)) {
      r.diagnosi.push_back(std::move(d));
    }
  }
  r.diagnosi.insert(r.diagnosi.end(), parametri.errori.begin(), parametri.errori.end());
  bool avvisi = false;
  for (const Diagnosi& d : r.diagnosi) {
    avvisi = avvisi || d.gravita == Gravita::avviso;
  }
  if (a.avvisi_come_errori) {
    avvisi_come_errori(r.diagnosi);
  }
  for (const Diagnosi& d : r.diagnosi) {
    stampa(d, a.json, a.marcia);
  }
  if (!a.json) {
    for (const std::string& p : r.file_scritti) {
      std::cout << "scritto " << p << "\n";
    }
  }
  if (a.marcia) {
    stampa_marcia(marcia, r, a.json);
  }
  const bool errore_nei_parametri = !parametri.errori.empty();
  return r.errore_nei_dati || errore_nei_parametri || (avvisi && a.avvisi_come_errori)
             ? kStatoErrore
             : 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments in UTF-8, as the disk takes paths on every system.
  RigaDiComando riga(argc, argv);
  CLI::App app("", kProgramma);
  Argomenti a;
  app.add_option("sorgenti", a.sorgenti);
  app.add_option("--cartella", a.cartella);
  app.add_option("--scenario", a.scenario);
  app.add_option("--treno", a.treno);
  app.add_option("--esempio", a.esempio);
  app.add_flag("--senza-tracciato", a.senza_tracciato);
  app.add_flag("--json", a.json);
  app.add_flag("--avvisi-come-errori", a.avvisi_come_errori);
  app.add_flag("--marcia", a.marcia);
  app.add_option("--marcia-parametro", a.parametri_marcia);
  app.add_flag("--osserva", a.osserva);
  app.add_option("--porta", a.porta)->check(CLI::Range(0, 65535));
  const RigaLetta letta = leggi_riga(app, riga, "manca un argomento");
  if (const std::optional<int> stato = risposta_alla_riga(kPresentazione, letta)) {
    return *stato;
  }
  if (a.esempio) {
    for (const char* altro : {"sorgenti", "--cartella", "--scenario", "--treno",
                              "--senza-tracciato", "--json", "--avvisi-come-errori",
                              "--marcia", "--marcia-parametro", "--osserva", "--porta"}) {
      if (app.count(altro) > 0) {
        return argomenti_sbagliati("--esempio va da solo, con la sola cartella");
      }
    }
    return esempio(*a.esempio);
  }
  if (a.sorgenti.size() > 2) {
    return argomenti_sbagliati("argomento in piu': " + a.sorgenti[2]);
  }
  if (a.sorgenti.size() != 2) {
    return argomenti_sbagliati(a.sorgenti.empty() ? "mancano le due sorgenti, LINEA e TRENO"
                                                  : "manca la sorgente del treno, TRENO");
  }
  const auto identita = identita_delle_sorgenti(a.sorgenti[0], a.sorgenti[1], a.scenario, a.treno);
  if (const auto* perche = std::get_if<std::string>(&identita)) {
    return argomenti_sbagliati(*perche);
  }
  if (a.marcia && a.osserva) {
    return argomenti_sbagliati("--marcia non va con --osserva: la pagina mostra la verifica");
  }
  if (a.porta && !a.osserva) {
    return argomenti_sbagliati("--porta va con --osserva");
  }
  if (a.osserva) {
    RichiestaCompilazione richiesta;
    richiesta.linea = a.sorgenti[0];
    richiesta.treno = a.sorgenti[1];
    richiesta.cartella = a.cartella;
    richiesta.identita = std::get<Identita>(identita);
    richiesta.con_tracciato = !a.senza_tracciato;
    richiesta.parametri_marcia = a.parametri_marcia;
    return osserva(richiesta, a.porta.value_or(0), std::cout, std::cerr);
  }
  return compila(a, std::get<Identita>(identita));
}
