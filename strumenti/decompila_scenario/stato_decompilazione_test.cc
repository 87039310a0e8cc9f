#include "strumenti/decompila_scenario/stato_decompilazione.h"

#include <gtest/gtest.h>

#include "compiler/celle.h"

namespace {

struct Divisione {
  int64_t v, b, quoziente, resto;
};

class DividiInBasso : public testing::TestWithParam<Divisione> {};

TEST_P(DividiInBasso, restoDaZeroAB) {
  const auto [v, b, quoziente, resto] = GetParam();
  EXPECT_EQ(dividi_in_basso(v, b), std::make_pair(quoziente, resto)) << v << " / " << b;
}

INSTANTIATE_TEST_SUITE_P(Casi, DividiInBasso,
                         testing::Values(Divisione{17, 10, 1, 7}, Divisione{0, 10, 0, 0},
                                         Divisione{-3, 10, -1, 7}, Divisione{-10, 10, -1, 0},
                                         Divisione{-23, 6, -4, 1}));

struct Testo {
  const char* testo;
  bool scrivibile;
};

class TestoScrivibile : public testing::TestWithParam<Testo> {};

TEST_P(TestoScrivibile, comeIlLettoreLoRilegge) {
  Ispezione ispezione;
  ispezione.voci[3].testo = GetParam().testo;
  ispezione.inizio_voce[3] = 100;
  StatoDecompilazione s = stato_iniziale(ispezione);
  EXPECT_EQ(testo_scrivibile(s, 3), GetParam().scrivibile);
  ASSERT_EQ(s.difetti.size(), GetParam().scrivibile ? 0u : 1u);
  if (!GetParam().scrivibile) {
    EXPECT_EQ(s.difetti.front().file, kFileVoci);
    EXPECT_EQ(s.difetti.front().dove, "voce 3, testo");
    EXPECT_GT(s.difetti.front().byte, 100);
  }
}

INSTANTIATE_TEST_SUITE_P(Casi, TestoScrivibile,
                         testing::Values(Testo{"TAVENA", true}, Testo{"SAN MARCO", true},
                                         Testo{" TAVENA", false}, Testo{"A,B", false},
                                         Testo{"A\r\nB", false}));

TEST(StatoIniziale, lasciaATimbriDellaCella1AZero) {
  Ispezione ispezione;
  ispezione.percorso.resize(3);
  ispezione.percorso[1].valore_1 = 5121;
  ispezione.percorso[1].valore_2 = 7;
  ispezione.percorso[1].valore_3 = 9;
  const StatoDecompilazione s = stato_iniziale(ispezione);
  EXPECT_EQ(s.celle[1].valore_1, 0);
  EXPECT_EQ(s.celle[1].valore_2, 0);
  EXPECT_EQ(s.celle[1].valore_3, 9);
}

std::vector<std::string> righe_di_strato(const std::vector<uint8_t>& aderenze) {
  Ispezione ispezione;
  for (uint8_t a : aderenze) {
    Cella c;
    c.aderenza_cella = a;
    ispezione.percorso.push_back(c);
  }
  const StatoDecompilazione s = stato_iniziale(ispezione);
  RigheAllineate righe("aderenza", {1, 1});
  strato(s, righe, riempimento_aderenze(), [](uint8_t v) -> int64_t { return v; });
  return righe.linee();
}

std::string riga(int64_t cella, int valore) {
  return "aderenza," + std::to_string(inizio_cella(cella)) + "," + std::to_string(valore);
}

// A row where the value changes, up to the third cell from the end; after it, one row at that
// cell for each cell that the rows there filled.
TEST(Strato, unaRigaOveIlValoreCambiaEPoiUnaPerOgniCellaSpinta) {
  EXPECT_EQ(righe_di_strato({0, 0, 5, 5, 7, 0, 0, 0}),
            (std::vector<std::string>{riga(2, 5), riga(4, 7)}));
  EXPECT_EQ(righe_di_strato({0, 0, 5, 5, 7, 7, 9, 0}),
            (std::vector<std::string>{riga(2, 5), riga(4, 7), riga(5, 7), riga(5, 9)}));
  EXPECT_TRUE(righe_di_strato({0, 0, 0}).empty());
}

}  // namespace
