// The plan of the line, one point per metre: the line starts at the origin heading along +y,
// runs straight, and turns by about `coefficiente_curva` radians per metre along each curve.
// The points are computed in 64-bit reals in exactly this order of operations, so the plan
// file holds the same bits wherever it is built. A point beyond the plan raises
// ErroreEsecuzione.
#pragma once

#include <array>
#include <cstdint>

#include "model/scenario.h"

// The plan may not pass this point.
inline constexpr int32_t kUltimoPuntoDelTracciato = 1000000;

// Curve coefficients per metre for the class digits "1" to "6"; a curve to the left ("s")
// takes the negative.
inline constexpr std::array<double, 6> kCoefficientiCurva = {0.0001, 0.0002, 0.0004,
                                                             0.001,  0.002,  0.003};

// The next point from the last one (x1, y1) and the step (dx, dy) that led to it: straight on,
// or along a curve of coefficient k. These are the only formulas of the plan; whoever needs a
// point of it computes it here, in this order of operations.
struct PuntoPiano {
  double x, y;
};
inline PuntoPiano passo_dritto(double x1, double y1, double dx, double dy) {
  return {x1 + dx, y1 + dy};
}
inline PuntoPiano passo_in_curva(double x1, double y1, double dx, double dy, double k) {
  return {x1 + (dx + k * dy), y1 + (dy - k * dx)};
}

// Points 0 and 1 as the 16-bit integers (0, 0) and (0, 1); the next point to compute is 2.
void inizia_tracciato(Scenario& s, int32_t& metro_tracciato);

// Straight on up to point `inizio`, then along the curve up to point `inizio` + `lunghezza`.
// Returns false when the plan would pass point 1,000,000: the points computed so far stay.
[[nodiscard]] bool traccia_curva(Scenario& s, int32_t& metro_tracciato, int32_t inizio,
                                 int32_t lunghezza, double coefficiente_curva);

// Straight on up to point `lunghezza_estesa` - 2; the last two points stay empty.
void chiudi_tracciato(Scenario& s, int32_t& metro_tracciato);
