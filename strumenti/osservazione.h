// The watch mode of an author's compile: compiles once, serves the live page, then compiles
// again on every change to either source (a burst of events taken as one change) and pushes
// each new result to every open page, until a request to stop.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>

#include "strumenti/compilazione_sorgenti.h"
#include "strumenti/confronto.h"
#include "strumenti/ispezione.h"
#include "strumenti/riepilogo.h"

// Events closer than this to the one before belong to the same change.
inline constexpr std::chrono::milliseconds kQuiete{30};

// What one compile of the watch left: the event the pages get.
struct Compilato {
  Ispezione ispezione;
  Riepilogo riepilogo;
};

// One compile with the author's compile, the files it wrote read back and compared with the
// previous compile's; `rilevato` is when the change was seen (ms since the epoch, the page
// reports the time from it to its redraw). Returns the event; `precedente` becomes this one's
// files when they could be read.
nlohmann::ordered_json compila_e_descrivi(piattaforma::Disco& disco,
                                          const RichiestaCompilazione& richiesta, int numero,
                                          int64_t rilevato, std::optional<Compilato>& precedente);

// Runs the watch until a request to stop; prints the page's address on `uscita` and one line
// per compile. Returns the exit status: 0 once stopped, 2 when the sources' folders cannot be
// watched or no port can be taken.
int osserva(const RichiestaCompilazione& richiesta, int porta, std::ostream& uscita,
            std::ostream& errori);
