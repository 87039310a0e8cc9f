// The train phase of the parser: reads the train source (train data, clock, adhesion and
// speed profiles, signals, slow-downs, "abbattimento" points and stations), deletes it, fills
// the tails of the profiles and checks the kilometre references.
#pragma once

#include <cstdint>

#include "compiler/stato_lettura.h"

// Stations of this category and above get neither approach marks nor a stop marker.
inline constexpr int32_t kCategoriaSenzaFermata = 25;
// A station's approach mark k (1 to 4, 50 m apart back from its area's end) holds this plus k.
inline constexpr int32_t kMarcaStazione = 80;

void fase_treno(StatoLettura& l);
