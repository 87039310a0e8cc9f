#include "strumenti/lingua_scenario/campi_righe.h"

#include <gtest/gtest.h>

#include "compiler/compila.h"

namespace {

// Each keyword of the table, in a row of its section, is one the parse takes: no warning of
// an unknown row, and the table finds its own kind for it.
TEST(CampiRighe, EveryKeywordIsOneTheParseTakes) {
  for (const TipoRiga& t : tipi_righe()) {
    std::string parola(t.parola);
    if (t.solo_con_tracciato) {
      parola += "5";
    }
    std::string valori;
    for (const CampoRiga& c : t.campi) {
      valori += c.testo ? ", TESTO" : ", 1000";
    }
    const std::string riga = parola + valori + "\r\n";
    std::string linea = "[generale]\r\nlunghezza percorso, 20000\r\n";
    std::string treno = "[generale]\r\n";
    if (t.sezione == Sezione::linea_generale) {
      linea += riga;
    }
    linea += "[curve]\r\n";
    if (t.sezione == Sezione::linea_principale) {
      linea += riga;
    }
    if (t.sezione == Sezione::treno) {
      treno += riga;
    }
    linea += "[fine]\r\n";
    treno += "[fine]\r\n";
    const Compilazione c = compila(linea, treno, {"Prova", "1", true});
    for (const Avviso& a : c.avvisi) {
      EXPECT_NE(a.tipo, TipoAvviso::riga_sconosciuta) << parola << ": " << a.testo;
      EXPECT_NE(a.tipo, TipoAvviso::valori_in_piu) << parola << ": " << a.testo;
    }
    const std::vector<const TipoRiga*> tipi = tipi_della_riga(t.sezione, parola, true);
    ASSERT_FALSE(tipi.empty()) << parola;
    EXPECT_EQ(tipi.front(), &t) << parola;
  }
}

TEST(CampiRighe, CurvesOnlyWhenAPlanIsBuilt) {
  EXPECT_EQ(tipi_della_riga(Sezione::linea_principale, "curvad4", true).size(), 1u);
  EXPECT_TRUE(tipi_della_riga(Sezione::linea_principale, "curvad4", false).empty());
  EXPECT_EQ(tipi_della_riga(Sezione::linea_principale, "curvas4", true).front()->parola, "curvas");
}

}  // namespace
