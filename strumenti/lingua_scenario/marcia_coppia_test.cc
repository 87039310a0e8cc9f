#include "strumenti/lingua_scenario/marcia_coppia.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/disco_in_memoria.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

const char* const kLinea = "/d/Tavena_Crostia_linea.txt";
const char* const kTreno = "/d/Tavena_Crostia_4417-.txt";
const char* const kParametri = "/d/Tavena_Crostia_marcia.txt";

struct Cartella {
  piattaforma::DiscoInMemoria disco;
  DocumentiAperti aperti;
  Cartella() {
    disco.file[kLinea] = testo_delle_righe(dati_linea());
    disco.file[kTreno] = testo_delle_righe(dati_treno());
  }
  CoppiaCompilata coppia() { return compila_coppia(kTreno, aperti, disco); }
};

std::vector<std::string> tipi(const std::vector<Diagnosi>& d) {
  std::vector<std::string> t;
  for (const Diagnosi& x : d) {
    t.push_back(std::get<std::string>(x.codice));
  }
  return t;
}

// The built-in run's last stretch cannot be kept by any train: a warning at its station row,
// and that row's hover gives the stretch's figures.
TEST(MarciaCoppia, TheBuiltInLastStretchIsImpossibleForEveryTrain) {
  Cartella k;
  const CoppiaCompilata c = k.coppia();
  const MarciaCoppia m = marcia_della_coppia(c, k.aperti, k.disco);
  ASSERT_TRUE(m.marcia.has_value());
  ASSERT_FALSE(m.problemi.empty());
  const Diagnosi& ultima = m.problemi.back();
  EXPECT_EQ(ultima.codice, (std::variant<std::monostate, int32_t, std::string>(
                               std::string("orario-impossibile-con-ogni-treno"))));
  EXPECT_EQ(ultima.gravita, Gravita::avviso);
  EXPECT_EQ(ultima.posto.file, kTreno);
  EXPECT_TRUE(ultima.riga_sorgente.starts_with("stazione,  100750,")) << ultima.riga_sorgente;
  const std::vector<std::string> voci = voci_della_tratta(*m.marcia, c.c, ultima.posto.riga);
  ASSERT_EQ(voci.size(), 6u);
  EXPECT_EQ(voci[0], "tratta da CROSTIA a CROSTIA C.L.V.: 3050 m");
  EXPECT_EQ(voci[1], "in orario: 3 min");
  EXPECT_EQ(voci[3], "ai soli limiti: 4 min 3 s");
  EXPECT_EQ(voci[5], "esito: impossibile-con-ogni-treno");
  EXPECT_TRUE(voci_della_tratta(*m.marcia, c.c, 1).empty());
  // The line source gets none of them.
  EXPECT_TRUE(diagnosi_della_marcia(c, c.linea, k.aperti, k.disco).empty());
  EXPECT_EQ(diagnosi_della_marcia(c, c.treno, k.aperti, k.disco).size(), m.problemi.size());
}

// The parameters come from the file beside the sources, the editor's text over the disk's;
// a bad value is an error that names its place in that file, and no check runs.
TEST(MarciaCoppia, TheParametersFileOpenOrOnTheDisk) {
  Cartella k;
  const size_t di_base = marcia_della_coppia(k.coppia(), k.aperti, k.disco).problemi.size();
  k.disco.file[kParametri] = "potenza_kw = 300\n";
  const std::vector<Diagnosi> deboli = marcia_della_coppia(k.coppia(), k.aperti, k.disco).problemi;
  EXPECT_GT(deboli.size(), di_base);
  EXPECT_NE(std::find(tipi(deboli).begin(), tipi(deboli).end(), "orario-impossibile"),
            tipi(deboli).end());

  k.aperti["file:///d/Tavena_Crostia_marcia.txt"] = {
      kParametri, std::make_shared<const TestoEditor>("# aperto\npotenza_kw = zero\n")};
  const MarciaCoppia errata = marcia_della_coppia(k.coppia(), k.aperti, k.disco);
  EXPECT_FALSE(errata.marcia.has_value());
  ASSERT_EQ(errata.problemi.size(), 1u);
  EXPECT_EQ(errata.problemi[0].gravita, Gravita::errore);
  EXPECT_EQ(errata.problemi[0].posto, (Luogo{kTreno, 0, 0}));
  EXPECT_TRUE(errata.problemi[0].messaggio.starts_with(
      "parametri della marcia, Tavena_Crostia_marcia.txt:2:"))
      << errata.problemi[0].messaggio;
}

// A compile with an error in its data has no timetable to check.
TEST(MarciaCoppia, NoCheckAfterAnErrorInTheData) {
  Cartella k;
  k.aperti["file:///d/Tavena_Crostia_4417-.txt"] = {
      kTreno, std::make_shared<const TestoEditor>("[generale]\r\nstazione, 1025, 4\r\n[fine]\r\n")};
  const MarciaCoppia m = marcia_della_coppia(k.coppia(), k.aperti, k.disco);
  EXPECT_FALSE(m.marcia.has_value());
  EXPECT_TRUE(m.problemi.empty());
}

}  // namespace
