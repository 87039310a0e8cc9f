// The watch mode of an author's compile: compiles once, serves the live page, then compiles
// again on every change to either source (a burst of events taken as one change; a file closed
// after writing or renamed into place is compiled at once) and pushes
// each new result to every open page, until a request to stop.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "strumenti/compila_scenario/compilazione_sorgenti.h"
#include "strumenti/ispezione/confronto.h"
#include "strumenti/ispezione/ispezione.h"
#include "strumenti/ispezione/pagina_html.h"
#include "strumenti/ispezione/riepilogo.h"

// While a source is not yet whole (removed, created, or written without a close), events
// closer than this to the one before belong to the same change.
inline constexpr std::chrono::milliseconds kQuiete{30};

// What one compile of the watch left, for the next one to compare with.
struct Compilato {
  Ispezione ispezione;
  Riepilogo riepilogo;
  PianteRidotte piante;
};

// What the watch keeps from one compile for those after it.
struct StatoOsservazione {
  // The last compile without an error whose files could be read: the changes are counted
  // from it, so that an error that cut the sources short and its fix list nothing of their own.
  std::optional<Compilato> ultima_valida;
  bool ultima_con_errore = false;  // whether the compile just before had an error
  // The plan of the last images inspected: most edits leave it as it was.
  MemoriaTracciato tracciato;
};

// One compile as the pages get it.
struct EventoCompilazione {
  std::string compilazione;  // JSON: number, times, problems, changes
  std::string dati;          // JSON: what the page draws ("null" when no files could be read)
  size_t problemi = 0;
  double durata_ms = 0;
  // The first error's header line ("file:riga:colonna: errore N: messaggio"), when there was
  // an error.
  std::optional<std::string> primo_errore;
};

// One compile with the author's compile, its files inspected and compared with those of the
// last compile without an error; `rilevato` is when the change was seen (ms since the epoch,
// the page reports the time from it to its redraw). The compile's "confronto_con_ultima_valida"
// says whether the changes are counted from a compile older than the one just before, because
// that one had an error. Returns the event and updates `stato`.
EventoCompilazione compila_e_descrivi(piattaforma::Disco& disco,
                                      const RichiestaCompilazione& richiesta, int numero,
                                      int64_t rilevato, StatoOsservazione& stato);

// The line printed for a compile: "compilazione N: P problemi, T ms", and after an error the
// first error's place and words in the place of the count.
std::string riga_compilazione(int numero, const EventoCompilazione& e);

// The event as the streams send it: the compile with its data in "dati", one line of JSON.
std::string testo_evento(const EventoCompilazione& e);

// The page of the event: its data with the compile in "compilazione".
std::string pagina_evento(const EventoCompilazione& e);

// Runs the watch until a request to stop; prints the page's address on `uscita` and one line
// per compile. Returns the exit status: 0 once stopped, 2 when the sources' folders cannot be
// watched or no port can be taken.
int osserva(const RichiestaCompilazione& richiesta, int porta, std::ostream& uscita,
            std::ostream& errori);
