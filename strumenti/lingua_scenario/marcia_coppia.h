// The timetable check of a compiled pair, as the language server shows it: the parameters
// from the file of the scenario's name beside the sources (the editor's text when it is open,
// the disk's otherwise), the check of the compile, its warnings on the station rows of the
// train source, and for a station row the figures of the stretch it ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/disco.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/lingua_scenario/coppia_sorgenti.h"
#include "strumenti/marcia/marcia.h"

struct MarciaCoppia {
  // None when the compile has an error in its data, or the parameters file has one.
  std::optional<Marcia> marcia;
  // For the train source: each error of the parameters file at the file's first line (the
  // message names the place in the parameters file), then a warning at each station row that
  // ends a stretch that is not ok.
  std::vector<Diagnosi> problemi;
};

// Nothing is checked for a pair without a train source.
MarciaCoppia marcia_della_coppia(const CoppiaCompilata& k, const DocumentiAperti& aperti,
                                 piattaforma::Disco& disco);

// The problems of the check for the file `per` of the pair: all of them for its train
// source, none for its line source.
std::vector<Diagnosi> diagnosi_della_marcia(const CoppiaCompilata& k, const Fonte& per,
                                            const DocumentiAperti& aperti,
                                            piattaforma::Disco& disco);

// The stretch that ends at line `riga` (from 1) of the train source, in words: where it runs,
// the scheduled, fastest and limit times, the margin and the verdict. Empty for a line that
// ends none.
std::vector<std::string> voci_della_tratta(const Marcia& m, const Compilazione& c, int riga);
