// The source parser: reads the line source and then the train source from `cartella` of
// `disco` into the model, deleting each source once it has been read. Problems in the data end up
// in `codice_errore` and `posizione_errore`; any failure while reading (a value that does not fit,
// a read past the end, a row outside the model) becomes code 25. It never throws.
#pragma once

#include <string>

#include "model/scenario.h"
#include "platform/disco.h"

void memorizza_dati(Scenario& s, piattaforma::Disco& disco, const std::string& cartella);
