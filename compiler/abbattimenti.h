// The pass over the track that adds the automatic speed points ("abbattimento" points of
// kind 12 at 180 km/h) after the parse: before the signals that precede a slow-down warning
// board, in three approach windows before each slow-down start, every 8 cells inside a
// slow-down slower than 110 km/h and before the first signal after it. Where no cell is free
// it records error 11, 12 or 13 at the cell concerned and goes on; a later record replaces an
// earlier one.
//
// Cells outside the track count as occupied and of no kind: the pass never reads or writes
// past either end.
#pragma once

#include <cstdint>
#include <optional>

#include "model/scenario.h"

// The speed of every point the pass places; a point already there is lowered to it.
inline constexpr int16_t kVelocitaAbbattimento = 180;

// The last problem the pass recorded: its code and the cell of the item it is about (the
// signal for error 11, the start of the slow-down for 12 and 13), whose source row can then
// be named.
struct ProblemaDellaPassata {
  int32_t codice;
  int32_t cella_elemento;
};

std::optional<ProblemaDellaPassata> aggiungi_abbattimenti(Scenario& s);
