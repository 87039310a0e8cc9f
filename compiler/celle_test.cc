#include "compiler/celle.h"

#include <gtest/gtest.h>

#include "compiler/errore_esecuzione.h"

namespace {

TEST(DividiArrotonda, MetaVersoIlPari) {
  const struct {
    int64_t n, atteso;
  } casi[] = {{0, 0},     {24, 0},  {25, 0},   {26, 1},   {75, 2},      {125, 2},
              {4550, 91}, {-25, 0}, {-26, -1}, {-75, -2}, {-1200, -24}, {-1225, -24}};
  for (const auto& c : casi) {
    EXPECT_EQ(dividi_arrotonda(c.n, 50), c.atteso) << c.n;
  }
}

TEST(Celle, LaCellaDopoArrotondaLEspressioneIntera) {
  // (p + 50) / 50 rounded, not round(p / 50) + 1: the two differ when p is 25 past a
  // multiple of 50.
  EXPECT_EQ(cella_dopo(25), 2);  // 1.5 -> 2, while round(0.5) + 1 = 1
  EXPECT_EQ(cella_dopo(75), 2);  // 2.5 -> 2, while round(1.5) + 1 = 3
  EXPECT_EQ(cella_dopo(4550), 92);
  EXPECT_EQ(cella_di(850), 17);
}

TEST(Celle, AccessoControllato) {
  Scenario s;
  EXPECT_THROW(cella(s, 0), ErroreEsecuzione);
  s.percorso.resize(3);
  s.ultima_cella = 2;
  cella(s, 2).genere = 1;
  EXPECT_EQ(s.percorso[2].genere, 1);
  EXPECT_THROW(cella(s, 3), ErroreEsecuzione);
  EXPECT_THROW(cella(s, -1), ErroreEsecuzione);
  EXPECT_THROW(voce(s, 87), ErroreEsecuzione);
  EXPECT_THROW(voce(s, -1), ErroreEsecuzione);
  EXPECT_EQ(&voce(s, 86), &s.voci[86]);
}

TEST(Celle, LarghezzeFisse) {
  EXPECT_EQ(basso_16(65536 + 5), 5);
  EXPECT_EQ(basso_16(40000), 40000 - 65536);
  EXPECT_EQ(basso_8(300), 44);
  EXPECT_EQ(basso_8(-1), 255);
  EXPECT_EQ(in_8(255), 255);
  EXPECT_THROW(in_8(256), ErroreEsecuzione);
  EXPECT_THROW(in_8(-1), ErroreEsecuzione);
  EXPECT_EQ(in_16(-32768), -32768);
  EXPECT_THROW(in_16(32768), ErroreEsecuzione);
  EXPECT_THROW(in_32(int64_t{INT32_MAX} + 1), ErroreEsecuzione);
}

TEST(Celle, ControlloDiPosizione) {
  Scenario s;
  s.ultima_cella = 2160;
  EXPECT_TRUE(nel_percorso(s, 107900, 100));
  EXPECT_FALSE(nel_percorso(s, 107950, 100));
  EXPECT_TRUE(nel_percorso(s, 107200, 800));
  EXPECT_FALSE(nel_percorso(s, 107250, 800));
}

}  // namespace
