#include "compiler/tracciato_linea.h"

#include <gtest/gtest.h>

#include <cmath>

#include "compiler/errore_esecuzione.h"

namespace {

Scenario con_tracciato(int32_t lunghezza_estesa) {
  Scenario s;
  s.lunghezza_estesa = lunghezza_estesa;
  s.tracciato.crea(lunghezza_estesa);
  return s;
}

TEST(Tracciato, SenzaCurveUnaRettaLungoY) {
  Scenario s = con_tracciato(100);
  int32_t metro = 0;
  inizia_tracciato(s, metro);
  EXPECT_EQ(metro, 2);
  chiudi_tracciato(s, metro);
  EXPECT_EQ(s.tracciato.etichetta(0, 1), Etichetta::intero_16);
  EXPECT_EQ(s.tracciato.intero(1, 1), 1);
  EXPECT_EQ(s.tracciato.etichetta(1, 0), Etichetta::intero_16);
  for (int32_t i = 2; i <= 98; ++i) {
    ASSERT_EQ(s.tracciato.etichetta(i, 0), Etichetta::reale_64) << i;
    EXPECT_EQ(s.tracciato.valore(i, 0), 0.0) << i;
    EXPECT_EQ(s.tracciato.valore(i, 1), static_cast<double>(i)) << i;
  }
  for (int32_t i : {99, 100}) {
    EXPECT_EQ(s.tracciato.etichetta(i, 0), Etichetta::vuoto);
    EXPECT_EQ(s.tracciato.etichetta(i, 1), Etichetta::vuoto);
  }
}

TEST(Tracciato, PrimaCurvaDellaLinea) {
  // "curvas5,  700 , 700 ": straight up to point 700, then turning with k = -0.002.
  Scenario s = con_tracciato(108000);
  int32_t metro = 0;
  inizia_tracciato(s, metro);
  ASSERT_TRUE(traccia_curva(s, metro, 700, 700, -0.002));
  EXPECT_EQ(metro, 1401);
  EXPECT_EQ(s.tracciato.valore(700, 0), 0.0);
  EXPECT_EQ(s.tracciato.valore(700, 1), 700.0);
  // First curve point: dx = 0, dy = 1, so x = 0 + (0 + -0.002 * 1), y = 700 + (1 - -0.002 * 0).
  EXPECT_EQ(s.tracciato.valore(701, 0), -0.002);
  EXPECT_EQ(s.tracciato.valore(701, 1), 701.0);
  // Second: dx = -0.002, dy = 1.
  EXPECT_EQ(s.tracciato.valore(702, 0), -0.002 + (-0.002 + -0.002 * 1.0));
  EXPECT_EQ(s.tracciato.valore(702, 1), 701.0 + (1.0 - -0.002 * -0.002));
  // The line has turned left by about 1.4 radians at the end of the curve.
  const double dx = s.tracciato.valore(1400, 0) - s.tracciato.valore(1399, 0);
  const double dy = s.tracciato.valore(1400, 1) - s.tracciato.valore(1399, 1);
  EXPECT_NEAR(std::atan2(-dx, dy), 1.4, 0.01);
  EXPECT_EQ(s.tracciato.etichetta(1401, 0), Etichetta::vuoto);
}

TEST(Tracciato, CurvaCheIniziaDoveFinisceLaPrecedente) {
  Scenario s = con_tracciato(1000);
  int32_t metro = 0;
  inizia_tracciato(s, metro);
  ASSERT_TRUE(traccia_curva(s, metro, 100, 100, 0.003));
  const double x200 = s.tracciato.valore(200, 0);
  const double dx = x200 - s.tracciato.valore(199, 0);
  const double dy = s.tracciato.valore(200, 1) - s.tracciato.valore(199, 1);
  ASSERT_TRUE(traccia_curva(s, metro, 200, 50, -0.001));
  EXPECT_EQ(s.tracciato.valore(201, 0), x200 + (dx + -0.001 * dy));
  // A curve that begins inside the previous one curves on from where the plan stands.
  ASSERT_TRUE(traccia_curva(s, metro, 220, 50, 0.002));
  EXPECT_EQ(metro, 271);
}

TEST(Tracciato, OltreIlPuntoUnMilioneErrore) {
  Scenario s = con_tracciato(1007000);
  int32_t metro = 0;
  inizia_tracciato(s, metro);
  ASSERT_TRUE(traccia_curva(s, metro, 999000, 999, 0.001));
  EXPECT_EQ(metro, 1000000);
  EXPECT_FALSE(traccia_curva(s, metro, 999999, 1, 0.001));
  EXPECT_EQ(s.tracciato.etichetta(1000000, 0), Etichetta::reale_64);
  EXPECT_EQ(s.tracciato.etichetta(1000001, 0), Etichetta::vuoto);
}

TEST(Tracciato, PuntiFuoriDalPianoSonoErroriDiEsecuzione) {
  Scenario s = con_tracciato(500);
  int32_t metro = 0;
  inizia_tracciato(s, metro);
  EXPECT_THROW((void)traccia_curva(s, metro, 450, 100, 0.001), ErroreEsecuzione);
  EXPECT_EQ(s.tracciato.etichetta(500, 0), Etichetta::reale_64);

  Scenario corto = con_tracciato(0);
  EXPECT_THROW(inizia_tracciato(corto, metro), ErroreEsecuzione);
}

}  // namespace
