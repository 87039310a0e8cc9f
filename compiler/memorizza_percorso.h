// The compile driver: the builder's compile over the two sources of its folder, then its
// ending: the three binary files written into the folder as one set, or the run stopped.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/compila.h"
#include "compiler/esito_compilazione.h"
#include "model/scenario.h"
#include "platform/disco.h"

// Compiles the sources of `cartella` under the identity that `s` holds and leaves the compiled
// model in `s`; `j` non-zero also builds the plan of the line and writes the plan file. When
// the parser leaves no track nothing more is done and no binary file is written; problems in
// the data stay in `codice_errore` and `posizione_errore`, and the result says where the last
// one was found. A stamp conflict throws ErroreTerminale before any binary file is written, a
// model that the files cannot carry std::runtime_error; a file that cannot be written throws
// piattaforma::ErroreFile, and the binary files of the run before stay as they were.
EsitoCompilazione memorizza_percorso(Scenario& s, piattaforma::Disco& disco,
                                     const std::string& cartella, int32_t j);

// The ending of a compile as the builder's run has it: its images written into `cartella` as
// one set (the plan file only when there is a plan), or its stamp conflict as the message
// " Errore n. " and the code (ErroreTerminale), or its failure (std::runtime_error).
EsitoCompilazione scrivi_compilazione(const Compilazione& c, piattaforma::Disco& disco,
                                      const std::string& cartella);
