// The plan of a line reduced to a polyline that a page can draw: the plan has a point for
// every metre (a million for the longest line), the drawing needs a few thousand. Points are
// dropped where the line through their neighbours passes close to them (Douglas-Peucker), so
// curves keep their shape and straights keep only their ends.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/tracciato_letto.h"

struct PuntoPianta {
  int32_t metro = 0;
  double x = 0;
  double y = 0;
};

// The points of the plan that have both coordinates, from metre 0 up to the first point that
// lacks one, reduced to at most `massimo` points (at least 2): the tolerance starts at
// `tolleranza` metres (when 0, at a two-thousandth of the plan's larger side) and doubles
// until the result fits. The first and the last point are always kept.
std::vector<PuntoPianta> pianta_ridotta(const TracciatoLetto& t, size_t massimo,
                                        double tolleranza = 0);
