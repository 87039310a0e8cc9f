#include "compiler/provenienze.h"

#include <gtest/gtest.h>

namespace {

TEST(Provenienze, LUltimaRigaDiUnaCellaNeEIlProvenire) {
  Provenienze p;
  const Luogo cartello{"Prova_linea.txt", 5, 1};
  const Luogo segnale{"Prova_1-.txt", 3, 1};
  p.segna(40, cartello);
  EXPECT_EQ(p.di(40), cartello);
  p.segna(40, segnale);  // an item that replaces another, over a tunnel filler for instance
  EXPECT_EQ(p.di(40), segnale);
  EXPECT_EQ(p.di(39), std::nullopt);
  EXPECT_EQ(p.di(41), std::nullopt);
  EXPECT_EQ(p.di(-1), std::nullopt);

  Registrazione r{p, {"Prova_1-.txt", 9, 1}};
  EXPECT_EQ(r.nota(), std::nullopt);
  r.trova_occupata(39);
  EXPECT_EQ(r.nota(), std::nullopt) << "a taken cell that no row filled names no row";
  r.trova_occupata(40);
  EXPECT_EQ(r.nota(), segnale);
}

}  // namespace
