#include "model/tracciato.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "model/scenario.h"

namespace {

TEST(Tracciato, NasceVuotoEInesistente) {
  Tracciato t;
  EXPECT_FALSE(t.esiste());
  EXPECT_FALSE(t.contiene(0));
}

TEST(Tracciato, CreatoConTuttiIPuntiVuoti) {
  Tracciato t;
  t.crea(3);
  ASSERT_TRUE(t.esiste());
  EXPECT_TRUE(t.contiene(3));
  EXPECT_FALSE(t.contiene(4));
  for (int32_t i = 0; i <= 3; ++i) {
    EXPECT_EQ(t.etichetta(i, 0), Etichetta::vuoto);
    EXPECT_EQ(t.etichetta(i, 1), Etichetta::vuoto);
  }
}

TEST(Tracciato, TieneEtichettaEValoreDiOgniCoordinata) {
  Tracciato t;
  t.crea(2);
  t.imposta_intero(1, 1, -7);
  t.imposta_reale(2, 0, 0.125);
  EXPECT_EQ(t.etichetta(1, 1), Etichetta::intero_16);
  EXPECT_EQ(t.intero(1, 1), -7);
  EXPECT_EQ(t.etichetta(2, 0), Etichetta::reale_64);
  EXPECT_EQ(t.valore(2, 0), 0.125);
  EXPECT_EQ(t.etichetta(2, 1), Etichetta::vuoto);
}

TEST(Tracciato, RicreatoTornaVuoto) {
  Tracciato t;
  t.crea(2);
  t.imposta_reale(2, 1, 5.0);
  t.crea(5);
  EXPECT_EQ(t.etichetta(2, 1), Etichetta::vuoto);
  EXPECT_EQ(t.ultimo_punto(), 5);
}

TEST(Tracciato, PuntoFuoriDalPianoEUnErroreDiProgramma) {
  Tracciato t;
  t.crea(2);
  EXPECT_THROW(t.imposta_reale(3, 0, 1.0), std::out_of_range);
  EXPECT_THROW(t.valore(-1, 0), std::out_of_range);
  EXPECT_THROW(t.valore(0, 2), std::out_of_range);
}

TEST(Cella, IlRiempitivoDiGalleriaContaComeLibero) {
  Cella c;
  EXPECT_FALSE(occupata(c));
  c.genere = kRiempitivoGalleria;
  EXPECT_FALSE(occupata(c));
  c.genere = kCartello;
  EXPECT_TRUE(occupata(c));
}

}  // namespace
