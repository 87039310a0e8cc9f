#include "strumenti/ispezione/polilinea.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

std::vector<PuntoPianta> riduci(const std::vector<PuntoPianta>& punti, double tolleranza) {
  std::vector<bool> tenuto(punti.size(), false);
  tenuto.front() = true;
  tenuto.back() = true;
  std::vector<std::pair<size_t, size_t>> da_fare = {{0, punti.size() - 1}};
  while (!da_fare.empty()) {
    const auto [a, b] = da_fare.back();
    da_fare.pop_back();
    // Distances from the line through a and b are compared as |cross product|, which is the
    // distance times the segment's length: one length per segment, no root per point.
    const PuntoPianta& pa = punti[a];
    const double dx = punti[b].x - pa.x;
    const double dy = punti[b].y - pa.y;
    const double lunghezza = std::hypot(dx, dy);
    double peggiore = -1;
    size_t indice = a;
    for (size_t i = a + 1; i < b; ++i) {
      const double ex = pa.x - punti[i].x;
      const double ey = pa.y - punti[i].y;
      // Where a and b coincide, the distance from a itself.
      const double d = lunghezza == 0 ? std::hypot(ex, ey) : std::abs(dx * ey - dy * ex);
      if (d > peggiore) {
        peggiore = d;
        indice = i;
      }
    }
    if (lunghezza != 0) {
      peggiore /= lunghezza;
    }
    if (peggiore > tolleranza) {
      tenuto[indice] = true;
      da_fare.push_back({a, indice});
      da_fare.push_back({indice, b});
    }
  }
  std::vector<PuntoPianta> out;
  for (size_t i = 0; i < punti.size(); ++i) {
    if (tenuto[i]) {
      out.push_back(punti[i]);
    }
  }
  return out;
}

}  // namespace

std::vector<PuntoPianta> pianta_ridotta(const TracciatoLetto& t, size_t massimo,
                                        double tolleranza) {
  std::vector<PuntoPianta> punti;
  if (!t.esiste()) {
    return punti;
  }
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  for (int32_t i = 0; i <= t.ultimo_punto(); ++i) {
    if (t.etichetta(i, 0) == Etichetta::vuoto || t.etichetta(i, 1) == Etichetta::vuoto) {
      break;
    }
    const PuntoPianta p{i, t.valore(i, 0), t.valore(i, 1)};
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
      break;
    }
    if (punti.empty()) {
      min_x = max_x = p.x;
      min_y = max_y = p.y;
    }
    min_x = std::min(min_x, p.x);
    max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
    punti.push_back(p);
  }
  if (punti.size() <= 2) {
    return punti;
  }
  massimo = std::max<size_t>(massimo, 2);
  if (tolleranza <= 0) {
    tolleranza = std::max({max_x - min_x, max_y - min_y, 1.0}) / 2000;
  }
  std::vector<PuntoPianta> ridotta = riduci(punti, tolleranza);
  while (ridotta.size() > massimo) {
    tolleranza *= 2;
    ridotta = riduci(punti, tolleranza);
  }
  return ridotta;
}
