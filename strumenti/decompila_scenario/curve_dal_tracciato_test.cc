#include "strumenti/decompila_scenario/curve_dal_tracciato.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/leggi_binario.h"
#include "prove/scenario_compilato.h"

namespace {

TracciatoLetto pianta_di(const std::string& curve) {
  const ScenarioCompilato c = compila_sorgenti(
      "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\n" + curve + "[fine]\r\n",
      std::string_view("[generale]\r\n[fine]\r\n"));
  return leggi_tracciato(c.tracciato).tracciato;
}

struct Caso {
  const char* nome;
  std::string curve;
  std::vector<RigaCurva> attese;
};

class CurveDalTracciato : public testing::TestWithParam<Caso> {};

TEST_P(CurveDalTracciato, ritrovaLeRigheDallaPianta) {
  const CurveDelTracciato r = curve_dal_tracciato(pianta_di(GetParam().curve));
  EXPECT_FALSE(r.punto_inspiegato);
  EXPECT_EQ(r.righe, GetParam().attese);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, CurveDalTracciato,
    testing::Values(
        Caso{"nessuna", "", {}},
        Caso{"una_a_sinistra", "curvas5, 700, 700\r\n", {{700, 700, 5, true}}},
        Caso{"ogni_classe_e_lato",
             "curvad1, 100, 50\r\ncurvas2, 200, 50\r\ncurvad3, 300, 50\r\ncurvas4, 400, 50\r\n"
             "curvad5, 500, 50\r\ncurvas6, 600, 50\r\n",
             {{100, 50, 1, false},
              {200, 50, 2, true},
              {300, 50, 3, false},
              {400, 50, 4, true},
              {500, 50, 5, false},
              {600, 50, 6, true}}},
        // Two rows of one class back to back draw one curve.
        Caso{"di_seguito_stessa_classe",
             "curvad4, 1000, 300\r\ncurvad4, 1300, 200\r\n",
             {{1000, 500, 4, false}}},
        Caso{"di_seguito_altra_classe",
             "curvad4, 1000, 300\r\ncurvas4, 1300, 200\r\n",
             {{1000, 300, 4, false}, {1300, 200, 4, true}}},
        // A row that starts inside the one before curves on from where that one ended.
        Caso{"sovrapposte",
             "curvad3, 1000, 300\r\ncurvad6, 1100, 400\r\n",
             {{1000, 300, 3, false}, {1300, 200, 6, false}}}),
    [](const testing::TestParamInfo<Caso>& i) { return i.param.nome; });

TEST(CurveDalTracciato, unPuntoSpostatoNonHaPasso) {
  TracciatoLetto t = pianta_di("curvad4, 1000, 300\r\n");
  t.imposta_reale(1100, 0, t.valore(1100, 0) + 1e-9);
  const CurveDelTracciato r = curve_dal_tracciato(t);
  ASSERT_TRUE(r.punto_inspiegato);
  EXPECT_EQ(*r.punto_inspiegato, 1100);
  EXPECT_EQ(r.righe, (std::vector<RigaCurva>{{1000, 99, 4, false}}));
}

}  // namespace
