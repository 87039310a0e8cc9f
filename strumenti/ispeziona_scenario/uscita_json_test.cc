#include "strumenti/ispeziona_scenario/uscita_json.h"

#include <gtest/gtest.h>

#include "prove/scenario_compilato.h"

namespace {

Ispezione incorporato() {
  const ScenarioCompilato& c = scenario_incorporato();
  return ispeziona_byte({"Tavena_Crostia", "4417"}, c.tracciato, c.voci, c.percorso);
}

// Every field read is there, and the document reads back as the same JSON.
TEST(UscitaJson, TuttoCioCheELettoETornaUguale) {
  const Ispezione i = incorporato();
  const nlohmann::ordered_json j = json_ispezione(i, riepiloga(i.tracciato, i.voci, i.percorso));
  const auto riletto = nlohmann::ordered_json::parse(j.dump());
  EXPECT_EQ(riletto, j);

  EXPECT_EQ(j["scenario"], "Tavena_Crostia");
  EXPECT_EQ(j["file"][2]["byte"], 32415);
  EXPECT_TRUE(j["difetti"].empty());
  ASSERT_EQ(j["voci"].size(), 87u);
  EXPECT_EQ(j["voci"][85]["testo"], "Tavena_Crostia");
  EXPECT_EQ(j["voci"][85]["dato_1"], 610);
  EXPECT_EQ(j["voci"][85]["orario"], i.voci[85].orario);
  EXPECT_EQ(j["voci"][1]["byte"], 34);
  ASSERT_EQ(j["percorso"].size(), 2161u);
  EXPECT_EQ(j["percorso"][1]["valore_1"], 5121);
  ASSERT_EQ(j["tracciato"]["x"].size(), 108001u);
  EXPECT_EQ(j["tracciato"]["y"][1], 1);
  EXPECT_TRUE(j["tracciato"]["y"][1].is_number_integer());
  EXPECT_EQ(j["tracciato"]["x"][5000], i.tracciato.valore(5000, 0));
  EXPECT_TRUE(j["tracciato"]["x"][108000].is_null());
  EXPECT_EQ(j["riepilogo"]["stazioni"].size(), 29u);
  EXPECT_EQ(j["riepilogo"]["stazioni"][0]["chilometrica"], 100950);
}

TEST(UscitaJson, TestiInUtf8EDifettiConIlLoroPosto) {
  Ispezione i = incorporato();
  i.voci[80].testo = "Citt\xE0";
  i.difetti.push_back({kFilePercorso, 18, "cella 1, valore_2", "codice 0"});
  const auto j = json_ispezione(i, riepiloga(i.tracciato, i.voci, i.percorso));
  EXPECT_EQ(j["voci"][80]["testo"], "Città");
  ASSERT_EQ(j["difetti"].size(), 1u);
  EXPECT_EQ(j["difetti"][0]["file"], "Tavena_Crostia_4417.dat");
  EXPECT_EQ(j["difetti"][0]["byte"], 18);
  EXPECT_EQ(j["difetti"][0]["dove"], "cella 1, valore_2");
}

}  // namespace
