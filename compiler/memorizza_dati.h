// The source parser: reads the line source and then the train source into the model, deleting
// each source once it has been read. Problems in the data end up in `codice_errore` and
// `posizione_errore`; any failure while reading (a value that does not fit, a read past the
// end, a row outside the model, a source that cannot be read or deleted) becomes code 25, and
// whichever source still exists is deleted. It never throws for anything the sources hold.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "compiler/provenienze.h"
#include "compiler/sorgenti_da_leggere.h"
#include "model/scenario.h"
#include "platform/disco.h"

// What the parse leaves besides the model: every problem it recorded, in order, each with the
// place where it was found (a run-time failure at the field being read, or else at the last
// row read), for each cell of the track the row whose item it holds,
// the row of the track's length, the text field of each entry's text, and the warnings.
struct EsitoLettura {
  std::vector<Problema> problemi;
  Provenienze provenienze;
  Luogo riga_lunghezza;
  std::array<Luogo, kNumeroVoci> campi_testo;
  std::vector<Avviso> avvisi;
};

EsitoLettura memorizza_dati(Scenario& s, SorgentiDaLeggere& sorgenti);

// The builder's parse: the two sources are the files of `cartella` of `disco` under the names
// the identity of `s` gives.
EsitoLettura memorizza_dati(Scenario& s, piattaforma::Disco& disco, const std::string& cartella);
