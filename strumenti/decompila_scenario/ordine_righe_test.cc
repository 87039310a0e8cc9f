#include "strumenti/decompila_scenario/ordine_righe.h"

#include <gtest/gtest.h>

namespace {

struct Caso {
  const char* nome;
  size_t stazioni, quante;
  std::vector<std::pair<size_t, size_t>> vincoli;
  std::vector<size_t> atteso;
  size_t tra_le_stazioni;
};

const Caso kCasi[] = {
    {"senza_vincoli", 2, 4, {}, {0, 1, 2, 3}, 2},
    {"una_riga_prima_della_seconda_stazione", 2, 4, {{3, 1}}, {0, 3, 1, 2}, 3},
    // What the row before a station waits for comes with it; the rest waits for the stations.
    {"con_cio_che_aspetta", 2, 5, {{4, 3}, {3, 0}}, {4, 3, 0, 1, 2}, 4},
    {"una_riga_dopo_l_altra", 0, 3, {{2, 0}}, {1, 2, 0}, 0},
    {"dopo_una_stazione", 1, 3, {{0, 2}, {2, 1}}, {0, 2, 1}, 1},
};

class OrdineDelleRighe : public testing::TestWithParam<Caso> {};

TEST_P(OrdineDelleRighe, tieneIVincoliELeStazioniInOrdine) {
  const Caso& c = GetParam();
  const std::optional<OrdineRighe> o = ordina_righe(c.stazioni, c.quante, c.vincoli);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->righe, c.atteso);
  EXPECT_EQ(o->tra_le_stazioni, c.tra_le_stazioni);
}

INSTANTIATE_TEST_SUITE_P(Casi, OrdineDelleRighe, testing::ValuesIn(kCasi),
                         [](const testing::TestParamInfo<Caso>& i) { return i.param.nome; });

TEST(OrdinaRighe, unCicloNonHaOrdine) {
  EXPECT_FALSE(ordina_righe(0, 2, {{0, 1}, {1, 0}}));
  // A row after the second station that the first must follow.
  EXPECT_FALSE(ordina_righe(2, 3, {{1, 2}, {2, 0}}));
}

}  // namespace
