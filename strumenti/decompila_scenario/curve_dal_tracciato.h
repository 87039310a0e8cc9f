// The curve rows that a plan was built from. Every computed point follows from the two before
// it by the straight step or by the curve step of one of the twelve coefficients; each point is
// tried against all of them in the plan's own arithmetic, bit for bit, and the runs of points on
// one coefficient are the curves.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "compiler/tracciato_letto.h"

struct RigaCurva {
  int32_t inizio = 0;     // the last straight point: the curve's points are inizio + 1 onward
  int32_t lunghezza = 0;  // points on the curve
  int classe = 1;         // the keyword's digit, 1 to 6
  bool sinistra = false;  // "curvas" (negative coefficient) rather than "curvad"

  bool operator==(const RigaCurva&) const = default;
};

struct CurveDelTracciato {
  std::vector<RigaCurva> righe;  // in order along the line, none overlapping
  // The first point from 2 on that no step explains (not a real, or none of the thirteen
  // results), when there is one before the last two points.
  std::optional<int32_t> punto_inspiegato;
};

CurveDelTracciato curve_dal_tracciato(const TracciatoLetto& t);
