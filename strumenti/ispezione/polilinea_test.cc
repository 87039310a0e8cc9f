#include "strumenti/ispezione/polilinea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "compiler/leggi_binario.h"
#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"

namespace {

// Distance of (x, y) from the segment a-b.
double dal_segmento(double x, double y, const PuntoPianta& a, const PuntoPianta& b) {
  const double lx = b.x - a.x;
  const double ly = b.y - a.y;
  const double l2 = lx * lx + ly * ly;
  const double t = l2 == 0 ? 0 : std::clamp(((x - a.x) * lx + (y - a.y) * ly) / l2, 0.0, 1.0);
  return std::hypot(a.x + t * lx - x, a.y + t * ly - y);
}

// The largest distance of a plan point from the reduced segment that stands for it.
double scarto_massimo(const TracciatoLetto& t, const std::vector<PuntoPianta>& r) {
  double peggiore = 0;
  size_t s = 0;
  for (int32_t i = 0; i <= r.back().metro; ++i) {
    while (r[s + 1].metro < i) {
      ++s;
    }
    peggiore = std::max(peggiore, dal_segmento(t.valore(i, 0), t.valore(i, 1), r[s], r[s + 1]));
  }
  return peggiore;
}

TEST(Polilinea, UnaRettaSonoDuePunti) {
  TracciatoLetto t;
  t.crea(1000);
  for (int32_t i = 0; i <= 998; ++i) {
    t.imposta_reale(i, 0, 0);
    t.imposta_reale(i, 1, i);
  }
  const auto r = pianta_ridotta(t, 100);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].metro, 0);
  EXPECT_EQ(r[1].metro, 998);  // the empty points at the end are not part of it
}

TEST(Polilinea, LaLineaIncorporataRestaVicinaAlTracciato) {
  const TracciatoLetto t = leggi_tracciato(scenario_incorporato().tracciato).tracciato;
  const auto r = pianta_ridotta(t, 100000);
  EXPECT_LT(r.size(), 1000u);
  EXPECT_EQ(r.front().metro, 0);
  EXPECT_EQ(r.back().metro, 107998);
  // The plan spans about 18.7 km: a two-thousandth of it.
  EXPECT_LE(scarto_massimo(t, r), 18755 / 2000.0);
}

TEST(Polilinea, UnaTolleranzaDataVieneRispettata) {
  const TracciatoLetto t = leggi_tracciato(scenario_incorporato().tracciato).tracciato;
  const auto grossa = pianta_ridotta(t, 100000);
  const auto fine = pianta_ridotta(t, 100000, 0.5);
  EXPECT_GT(fine.size(), grossa.size());
  EXPECT_LE(scarto_massimo(t, fine), 0.5);
  // Too many points for the tolerance given: it is doubled until they fit.
  const auto poche = pianta_ridotta(t, grossa.size(), 0.5);
  EXPECT_LE(poche.size(), grossa.size());
  EXPECT_GT(scarto_massimo(t, poche), 0.5);
}

TEST(Polilinea, LaLineaPiuLungaStaNelMassimo) {
  const SorgentiEstese e = sorgenti_estese(1000000);
  const ScenarioCompilato c = compila_sorgenti(e.linea, e.treno);
  ASSERT_EQ(c.s.codice_errore, 0);
  const auto r = pianta_ridotta(leggi_tracciato(c.tracciato).tracciato, 4000);
  EXPECT_LE(r.size(), 4000u);
  EXPECT_GT(r.size(), 100u);
  EXPECT_EQ(r.front().metro, 0);
  EXPECT_EQ(r.back().metro, c.s.lunghezza_estesa - 2);
}

}  // namespace
