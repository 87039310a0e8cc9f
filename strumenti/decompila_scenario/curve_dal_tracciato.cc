#include "strumenti/decompila_scenario/curve_dal_tracciato.h"

#include <bit>
#include <cstdint>

#include "compiler/tracciato_linea.h"

namespace {

bool stessi_bit(const PuntoPiano& a, double x, double y) {
  return std::bit_cast<uint64_t>(a.x) == std::bit_cast<uint64_t>(x) &&
         std::bit_cast<uint64_t>(a.y) == std::bit_cast<uint64_t>(y);
}

// Which step gave point c: 0 for the straight one, +-(class) for a curve, nullopt for none.
std::optional<int> passo_del_punto(const TracciatoLetto& t, int32_t c) {
  if (t.etichetta(c, 0) != Etichetta::reale_64 || t.etichetta(c, 1) != Etichetta::reale_64) {
    return std::nullopt;
  }
  const double x = t.valore(c, 0);
  const double y = t.valore(c, 1);
  const double x1 = t.valore(c - 1, 0);
  const double y1 = t.valore(c - 1, 1);
  const double dx = x1 - t.valore(c - 2, 0);
  const double dy = y1 - t.valore(c - 2, 1);
  if (stessi_bit(passo_dritto(x1, y1, dx, dy), x, y)) {
    return 0;
  }
  for (size_t i = 0; i < kCoefficientiCurva.size(); ++i) {
    const int classe = static_cast<int>(i) + 1;
    if (stessi_bit(passo_in_curva(x1, y1, dx, dy, kCoefficientiCurva[i]), x, y)) {
      return classe;
    }
    if (stessi_bit(passo_in_curva(x1, y1, dx, dy, -kCoefficientiCurva[i]), x, y)) {
      return -classe;
    }
  }
  return std::nullopt;
}

}  // namespace

CurveDelTracciato curve_dal_tracciato(const TracciatoLetto& t) {
  CurveDelTracciato r;
  if (!t.esiste()) {
    return r;
  }
  // Points 0 and 1 are given, and the last two stay empty.
  const int32_t ultimo_calcolato = t.ultimo_punto() - 2;
  int aperta = 0;  // the step of the curve being gathered, 0 for none
  for (int32_t c = 2; c <= ultimo_calcolato; ++c) {
    const std::optional<int> passo = passo_del_punto(t, c);
    if (!passo) {
      r.punto_inspiegato = c;
      return r;
    }
    if (*passo != 0 && *passo == aperta) {
      ++r.righe.back().lunghezza;
    } else if (*passo != 0) {
      r.righe.push_back({c - 1, 1, *passo < 0 ? -*passo : *passo, *passo < 0});
    }
    aperta = *passo;
  }
  return r;
}
