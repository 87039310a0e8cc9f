// The source parser: reads the line source and then the train source from `cartella` of
// `disco` into the model, deleting each source once it has been read. Problems in the data end up
// in `codice_errore` and `posizione_errore`; any failure while reading (a value that does not fit,
// a read past the end, a row outside the model) becomes code 25. It never throws.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "compiler/provenienze.h"
#include "model/scenario.h"
#include "platform/disco.h"

// What the parse leaves besides the model: the last problem it recorded, with the place where
// it was found (a run-time failure at the field being read, or else at the last row read),
// for each cell of the track the row whose item it holds, and the warnings.
struct EsitoLettura {
  std::optional<Problema> problema;
  Provenienze provenienze;
  std::vector<Avviso> avvisi;
};

EsitoLettura memorizza_dati(Scenario& s, piattaforma::Disco& disco, const std::string& cartella);
