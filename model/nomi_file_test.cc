#include "model/nomi_file.h"

#include <gtest/gtest.h>

namespace {

TEST(NomiFile, FormatiDaNomeScenarioENumeroTreno) {
  Scenario s;
  s.nome_scenario = "Tavena_Crostia";
  s.numero_treno = "4417";
  const struct {
    std::string (*nome)(const Scenario&);
    const char* atteso;
  } casi[] = {
      {nome_sorgente_linea, "Tavena_Crostia_linea.txt"},
      {nome_sorgente_treno, "Tavena_Crostia_4417-.txt"},
      {nome_note, "Tavena_Crostia_4417_note.txt"},
      {nome_rallentamenti, "Tavena_Crostia_4417_rallentamenti.txt"},
      {nome_scheda, "Tavena_Crostia_4417_scheda_treno.txt"},
      {nome_file_tracciato, "Tavena_Crostia_linea.dat"},
      {nome_file_voci, "Tavena_Crostia_4417.sim"},
      {nome_file_percorso, "Tavena_Crostia_4417.dat"},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(caso.nome(s), caso.atteso);
  }
}

}  // namespace
