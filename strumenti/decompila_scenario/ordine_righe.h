// The order in which rows that write over each other are written: the stations keep the order
// of their entries, every other row comes after the rows it must follow, and a row that must
// come before a station goes among the stations, just before the first one it must precede;
// the others go after the last station. Among the rows free to go, the lowest index first.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

struct OrdineRighe {
  std::vector<size_t> righe;  // every index once, in the order to write them
  size_t tra_le_stazioni = 0;  // how many of the first go among the stations
};

// Rows 0 to `stazioni` - 1 are the stations, the others up to `quante` - 1 any rows; each
// pair (a, b) of `vincoli` puts a before b. Nothing when the pairs ask for a cycle.
std::optional<OrdineRighe> ordina_righe(size_t stazioni, size_t quante,
                                        const std::vector<std::pair<size_t, size_t>>& vincoli);
