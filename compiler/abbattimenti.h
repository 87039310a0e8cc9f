// The pass over the track that adds the automatic speed points ("abbattimento" points of
// kind 12 at 180 km/h) after the parse: before the signals that precede a slow-down warning
// board, in three approach windows before each slow-down start, every 8 cells inside a
// slow-down slower than 110 km/h and before the first signal after it. Where no cell is free
// it records error 11, 12 or 13 at the cell concerned and goes on.
//
// Cells outside the track count as occupied and of no kind: the pass never reads or writes
// past either end.
#pragma once

#include "model/scenario.h"

void aggiungi_abbattimenti(Scenario& s);
