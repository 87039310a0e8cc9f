#include "model/nomi_file.h"

#include <gtest/gtest.h>

#include "prove/casi_nomi_file.h"

namespace {

using F = FileDellaCorsa;

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

// Every file of every identity reads back as itself, with the scenario name known (as a tool
// that has the line source knows it) and, where the split at the last "_" is right, without.
TEST(NomiFile, OgniNomeSiRileggeComeLaSuaIdentita) {
  for (const CasoNomiFile& caso : kCasiNomiFile) {
    for (const F f : kFileDellaCorsa) {
      const std::string nome = nome_file(f, caso.identita);
      const Identita atteso{caso.identita.scenario, della_linea(f) ? "" : caso.identita.treno};
      EXPECT_EQ(riconosci_nome(nome, caso.identita.scenario), (NomeRiconosciuto{f, atteso})) << nome;
      if (caso.senza_nome_noto) {
        EXPECT_EQ(riconosci_nome(nome), (NomeRiconosciuto{f, atteso})) << nome;
      }
    }
  }
}

TEST(NomiFile, NomiCheNessunaIdentitaDa) {
  const struct {
    const char* nome;
    std::optional<std::string_view> noto;
  } casi[] = {
      {"", std::nullopt},
      {"_linea.txt", std::nullopt},           // no scenario name
      {"Tavena_-.txt", std::nullopt},         // no train number
      {"Tavena-.txt", std::nullopt},          // no "_" before the number
      {"_4417-.txt", std::nullopt},
      {"Tavena_Crostia.txt", std::nullopt},   // no known ending
      {"Tavena_Crostia_4417.txt", std::nullopt},
      {"Altra_4417-.txt", "Tavena"},          // another scenario's train
      {"Altra_linea.txt", "Tavena"},
      {"Tavena_-.txt", "Tavena"},
      {"Tavena4417-.txt", "Tavena"},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(riconosci_nome(caso.nome, caso.noto), std::nullopt) << caso.nome;
  }
}

TEST(NomiFile, IlNomeNotoDecideDoveFinisceLoScenario) {
  EXPECT_EQ(riconosci_nome("Tavena_Crostia_4417-.txt", "Tavena"),
            (NomeRiconosciuto{F::sorgente_treno, {"Tavena", "Crostia_4417"}}));
  EXPECT_EQ(riconosci_nome("Tavena_Crostia_4417-.txt", "Tavena_Crostia"),
            (NomeRiconosciuto{F::sorgente_treno, {"Tavena_Crostia", "4417"}}));
  EXPECT_EQ(riconosci_nome("Tavena_Crostia_4417-.txt"),
            (NomeRiconosciuto{F::sorgente_treno, {"Tavena_Crostia", "4417"}}));
}

}  // namespace
