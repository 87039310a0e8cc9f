// Orders the three kilometre references (entries 81, 82, 83 of `voci`, as triples of route
// position, kilometric value in metres and a flag): the reference with the greatest position
// goes to 81, the next to 82, the smallest to 83; when all positions are 0 the one positive
// kilometric value goes to 81. A flag of 1 adds 100 m to its kilometric value.
#pragma once

#include <array>

#include "model/scenario.h"

// The triples are moved whole first; only then is 100 added, entry by entry, so that an
// addition that does not fit (ErroreEsecuzione) leaves every entry holding a whole moved
// triple. Returns, for entries 81, 82, 83 in turn, the entry whose triple each now holds, or
// 0 where the triples were cleared.
std::array<int, 3> progressive_ordina(Scenario& s);
