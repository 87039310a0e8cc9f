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

// One compile as the pages get it.
struct EventoCompilazione {
  std::string compilazione;  // JSON: number, times, problems, changes
  std::string dati;          // JSON: what the page draws ("null" when no files could be read)
  size_t problemi = 0;
  double durata_ms = 0;
};

// One compile with the author's compile, the files it wrote read back and compared with the
// previous compile's; `rilevato` is when the change was seen (ms since the epoch, the page
// reports the time from it to its redraw). Returns the event; `precedente` becomes this one's
// files when they could be read.
EventoCompilazione compila_e_descrivi(piattaforma::Disco& disco,
                                      const RichiestaCompilazione& richiesta, int numero,
                                      int64_t rilevato, std::optional<Compilato>& precedente);

// The event as the streams send it: the compile with its data in "dati", one line of JSON.
std::string testo_evento(const EventoCompilazione& e);

// The page of the event: its data with the compile in "compilazione".
std::string pagina_evento(const EventoCompilazione& e);

// Runs the watch until a request to stop; prints the page's address on `uscita` and one line
// per compile. Returns the exit status: 0 once stopped, 2 when the sources' folders cannot be
// watched or no port can be taken.
int osserva(const RichiestaCompilazione& richiesta, int porta, std::ostream& uscita,
            std::ostream& errori);
