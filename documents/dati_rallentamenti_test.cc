// The slow-down order as written: its fixed lines, the table body and the restriction rows
// read by their columns.
#include "documents/dati_rallentamenti.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "prove/righe_scritte.h"

namespace {

const FileScritto& ordine() {
  static const FileScritto file = testo_del_lavoro(dati_rallentamenti);
  return file;
}

const std::string kRigaVuota =
    " |   |                            |            |          |         |            |";

TEST(DatiRallentamenti, RigheFisse) {
  const auto& r = ordine().righe;
  ASSERT_EQ(r.size(), 41u);
  EXPECT_EQ(ordine().righe_dichiarate, 41);
  const std::vector<std::string> testa = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " " + std::string(80, '_'),
      "  Linea  Tavena - Crostia C.L.V.",
      "",
      "  Si ordina al macchinista del treno 4417 di effettuare i seguenti rallentamenti",
      "  " + std::string(79, '_'),
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      " |___|____________________________|____________|__________|_________|____________|",
  };
  EXPECT_EQ(std::vector<std::string>(r.begin(), r.begin() + 12), testa);
  const std::vector<std::string> coda = {
      " |___|____________________________|____________|__________|_________|____________|",
      "",
      "              Prescrizioni specifiche",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " B - Interessa anche la stazione di.......",
      " D - Rallentamento N. ... e N. ...  sono contigui",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
  };
  EXPECT_EQ(std::vector<std::string>(r.begin() + 33, r.end()), coda);
}

TEST(DatiRallentamenti, CorpoDellaTabella) {
  const auto& r = ordine().righe;
  ASSERT_EQ(r.size(), 41u);
  for (size_t linea = 9; linea <= 34; ++linea) {
    const std::string& riga = r[linea - 1];
    ASSERT_EQ(riga.size(), 82u) << "riga " << linea;
    std::vector<size_t> barre;
    for (size_t k = 0; k < riga.size(); ++k) {
      if (riga[k] == '|') {
        barre.push_back(k + 1);
      }
    }
    EXPECT_EQ(barre, (std::vector<size_t>{2, 6, 35, 48, 59, 69, 82})) << "riga " << linea;
  }
  for (size_t linea = 13; linea <= 33; ++linea) {
    const bool restrizione = linea == 14 || linea == 16 || linea == 18;
    EXPECT_EQ(r[linea - 1] != kRigaVuota, restrizione) << "riga " << linea;
  }
}

TEST(DatiRallentamenti, RigheDeiRallentamentiInColonna) {
  const auto& r = ordine().righe;
  ASSERT_EQ(r.size(), 41u);
  // N., the two stations in mixed case, the post, the speed, the length, no prescription.
  const std::regex forma(
      R"(^ \| (\d) \| ([A-Z][a-z]+(?: [A-Za-z.]+)*) - ([A-Z][a-z]+(?: [A-Za-z.]+)*) *\|)"
      R"( {5}\d+ *\| {4}\d+ *\| {3}\d+ *\|   ---      \|$)");
  int numero = 0;
  for (const size_t linea : {14, 16, 18}) {
    const std::string& riga = r[linea - 1];
    std::smatch m;
    ASSERT_TRUE(std::regex_match(riga, m, forma)) << riga;
    EXPECT_EQ(std::stoi(m[1]), ++numero) << riga;
  }
  EXPECT_TRUE(r[13].starts_with(" | 1 | Tavena - ")) << r[13];
}

}  // namespace
