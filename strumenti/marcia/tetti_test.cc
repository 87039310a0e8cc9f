#include "strumenti/marcia/tetti.h"

#include <gtest/gtest.h>

#include <vector>

#include "prove/scenario_compilato.h"

namespace {

TEST(Tetti, OgniMetroStaInUnaCella) {
  const struct {
    int64_t metro;
    int64_t cella;
  } casi[] = {{0, 0},      {24, 0}, {25, 1},  {74, 1},   {75, 2},   {9224, 184},
              {9225, 185}, {-1, 0}, {-25, 0}, {-26, -1}, {-75, -1}, {-76, -2}};
  for (const auto& c : casi) {
    EXPECT_EQ(cella_del_metro(c.metro), c.cella) << c.metro;
  }
}

std::vector<Cella> celle(std::initializer_list<int> kmh) {
  std::vector<Cella> p;
  for (int v : kmh) {
    Cella c;
    c.velocita_massima = static_cast<uint8_t>(v / 5);
    p.push_back(c);
  }
  return p;
}

TEST(Tetti, IRallentamentiDallaCellaDInizioAQuellaDiFine) {
  std::vector<Cella> p = celle({100, 100, 100, 100, 100, 100, 100, 100, 100});
  p[1].genere = kInizioRallentamento;
  p[1].valore_1 = 60;
  p[3].genere = kFineRallentamento;
  p[3].valore_1 = 60;
  // One more over another, slower, overlapping it: its own end closes it.
  p[2].genere = kInizioRallentamento;
  p[2].valore_1 = 30;
  p[5].genere = kFineRallentamento;
  p[5].valore_1 = 30;
  // A slow-down faster than the line changes nothing; a line speed of 0 stays 0.
  p[6].genere = kInizioRallentamento;
  p[6].valore_1 = 120;
  p[7].genere = kFineRallentamento;
  p[7].valore_1 = 120;
  p[8].velocita_massima = 0;
  EXPECT_EQ(tetto_celle_kmh(p), (std::vector<int32_t>{100, 60, 30, 30, 30, 30, 100, 100, 0}));
}

TEST(Tetti, IlRallentamentoIncorporatoTraNovemiladuecentoENovemilacinquecento) {
  const std::vector<int32_t> t = tetto_celle_kmh(scenario_incorporato().s.percorso);
  EXPECT_EQ(t[184], 120);
  for (size_t k = 185; k <= 191; ++k) {
    EXPECT_EQ(t[k], 70) << k;
  }
  EXPECT_EQ(t[192], 120);
  // Cell 184 ends at 9225 m, cell 191 at 9575 m.
  EXPECT_EQ(cella_del_metro(9224), 184);
  EXPECT_EQ(cella_del_metro(9574), 191);
}

// The train's ceiling rises once its tail has left the lower cell, and falls as soon as its
// head meets a lower one.
TEST(Tetti, IlTettoDelTrenoSaleQuandoLaCodaEPassata) {
  const std::vector<double> tetto_celle = {10, 10, 20, 20, 20, 20, 5, 20, 20, 20};
  std::vector<float> t;
  tetto_treno(tetto_celle, 0, 470, 72, t);
  ASSERT_EQ(t.size(), 471u);
  // Cell 1 ends at 75 m: the head may go faster once the tail has left it, over the metre
  // from 75 + 72 m to 75 + 73 m.
  for (int64_t p = 0; p < 148; ++p) {
    EXPECT_EQ(t[static_cast<size_t>(p)], 10) << p;
  }
  for (int64_t p = 148; p < 275; ++p) {
    EXPECT_EQ(t[static_cast<size_t>(p)], 20) << p;
  }
  // Cell 6 covers 275 to 325 m: from the head's arrival to the tail's leaving it.
  for (int64_t p = 275; p <= 325 + 72; ++p) {
    EXPECT_EQ(t[static_cast<size_t>(p)], 5) << p;
  }
  for (int64_t p = 325 + 73; p <= 470; ++p) {
    EXPECT_EQ(t[static_cast<size_t>(p)], 20) << p;
  }
}

TEST(Tetti, LunghezzeDelTreno) {
  const std::vector<double> tetto_celle = {10, 20, 20, 20};
  const struct {
    double lunghezza;
    int64_t primo_alto;  // the first head position at 20
  } casi[] = {{0, 26}, {0.5, 27}, {1, 27}, {72, 98}, {71.2, 98}, {1e15, -1}, {-3, 26}};
  for (const auto& c : casi) {
    std::vector<float> t;
    tetto_treno(tetto_celle, 0, 174, c.lunghezza, t);
    int64_t primo = -1;
    for (size_t p = 0; p < t.size(); ++p) {
      if (t[p] == 20) {
        primo = static_cast<int64_t>(p);
        break;
      }
    }
    EXPECT_EQ(primo, c.primo_alto) << c.lunghezza;
  }
}

// A window reaching before cell 0 or after the last cell takes their ceilings.
TEST(Tetti, OltreIBordiDelPercorso) {
  const std::vector<double> tetto_celle = {7, 9};
  std::vector<float> t;
  tetto_treno(tetto_celle, -40, 120, 10, t);
  ASSERT_EQ(t.size(), 161u);
  EXPECT_EQ(t.front(), 7);
  EXPECT_EQ(t[static_cast<size_t>(24 + 40)], 7);
  EXPECT_EQ(t[static_cast<size_t>(25 + 40)], 7);
  EXPECT_EQ(t[static_cast<size_t>(36 + 40)], 9);
  EXPECT_EQ(t.back(), 9);
}

}  // namespace
