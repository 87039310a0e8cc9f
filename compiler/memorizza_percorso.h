// The compile driver: reads the two sources from `cartella` of `disco` back into the model, adds
// the automatic speed points, stamps the codes and writes the binary files into `cartella`.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/esito_compilazione.h"
#include "compiler/memorizza_dati.h"
#include "model/scenario.h"
#include "platform/disco.h"

// `j` non-zero also builds the plan of the line and writes the plan file. When the parser
// leaves no track nothing more is done and no binary file is written; problems in the data
// stay in `codice_errore` and `posizione_errore`, and the result says where the last one was
// found. A stamp conflict throws ErroreTerminale before any binary file is written; a file
// that cannot be written throws piattaforma::ErroreFile, and the binary files of the run
// before stay as they were.
EsitoCompilazione memorizza_percorso(Scenario& s, piattaforma::Disco& disco,
                                     const std::string& cartella, int32_t j);

// What the driver does once the parser has filled the model: the pass, the stamps, then the
// plan file (when `con_tracciato` is non-zero), the entry file and the track file, replaced
// as one set. Nothing at all without a track. `lettura` is what the parse left besides the
// model: its last problem, and the rows the items of the track came from, which a problem of
// the pass names.
EsitoCompilazione completa_percorso(Scenario& s, piattaforma::Disco& disco,
                                    const std::string& cartella, const EsitoLettura& lettura = {});
