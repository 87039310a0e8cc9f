// The timetable check as the tools show it: a compile's check run when its data has no error,
// a warning at the station row that ends each stretch that is not ok, with its figures, and
// each stretch as a line of a table or of JSON. The compile, the watch mode and the language
// server show the same words.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compiler/compila.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/marcia/marcia.h"

// The check of the compile, when the compile has a model to check: none after an error in the
// data or when it left no files, since a timetable read up to a bad row is no timetable.
std::optional<Marcia> marcia_della_compilazione(const Compilazione& c,
                                                const ParametriMarcia& parametri);

// A duration in the card's words: "45 s", "3 min", "4 min 3 s", "1 h 2 min 5 s"; "mai" for a
// run that never ends. Seconds rounded to the nearest.
std::string durata(double secondi);

// The warning's kind, "orario-" and the verdict: "orario-impossibile-con-ogni-treno".
std::string tipo_avviso_marcia(EsitoTratta e);

// A warning for each stretch that is not ok, at its last station's name in the train source
// (`file_treno` as the author named it, `testo_treno` its bytes), in running order.
std::vector<Diagnosi> avvisi_della_marcia(const Marcia& m, const Compilazione& c,
                                          const std::string& file_treno,
                                          const std::string& testo_treno);

// The line of the station row that ends the stretch in the train source; 0 when no row gave
// it (the check run on files read back).
int riga_della_tratta(const Tratta& t, const Compilazione& c);

// The stretch as one line of JSON (no '\n'): da, a, riga, metri, programmato_s, piu_veloce_s,
// limite_s, margine_s (seconds, one decimal; null for a run that never ends), esito.
std::string json_tratta(const Tratta& t, int riga);

// The whole check as a table for a terminal: a heading, a line for each stretch, and the
// reason when there is no run. Station names in UTF-8.
std::string tabella_marcia(const Marcia& m, const Compilazione& c);
