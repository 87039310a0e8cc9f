// decompila_scenario run as an author runs it: compiled files in a folder, the program started
// with arguments, its messages, exit status and the sources it left looked at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generati/versione.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "prove/scenario_compilato.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"

namespace {

using piattaforma::CartellaTemporanea;

const Identita kIncorporato{"Tavena_Crostia", "4417"};

void scrivi_binari(const CartellaTemporanea& c, const Identita& id, const std::string& tracciato,
                   const std::string& voci, const std::string& percorso) {
  const auto nomi = nomi_binari(id);
  c.scrivi(nomi[kFileTracciato], tracciato);
  c.scrivi(nomi[kFileVoci], voci);
  c.scrivi(nomi[kFilePercorso], percorso);
}

void scrivi_incorporato(const CartellaTemporanea& c) {
  const ScenarioCompilato& s = scenario_incorporato();
  scrivi_binari(c, kIncorporato, s.tracciato, s.voci, s.percorso);
}

EsitoProcesso decompila(const std::vector<std::string>& argomenti) {
  return esegui_con_argomenti(DECOMPILA_SCENARIO_ESEGUIBILE, argomenti);
}

TEST(DecompilaScenario, scriveLeDueSorgentiCheDannoGliStessiFile) {
  CartellaTemporanea binari;
  CartellaTemporanea uscita;
  scrivi_incorporato(binari);
  const EsitoProcesso e = decompila({binari.percorso(), "--cartella", uscita.percorso()});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.errori, "");
  EXPECT_EQ(e.uscita, "scritto " + uscita.file("Tavena_Crostia_linea.txt") + "\nscritto " +
                          uscita.file("Tavena_Crostia_4417-.txt") +
                          "\nverificato: le due sorgenti compilate danno gli stessi tre file\n");
  EXPECT_EQ(uscita.nomi(),
            (std::vector<std::string>{"Tavena_Crostia_4417-.txt", "Tavena_Crostia_linea.txt"}));

  const Compilazione c =
      compila(uscita.leggi("Tavena_Crostia_linea.txt"), uscita.leggi("Tavena_Crostia_4417-.txt"),
              opzioni_di_compilazione(kIncorporato));
  ASSERT_TRUE(c.ha_immagini());
  const ScenarioCompilato& s = scenario_incorporato();
  EXPECT_EQ(c.immagini->tracciato, s.tracciato);
  EXPECT_EQ(c.immagini->voci, s.voci);
  EXPECT_EQ(c.immagini->percorso, s.percorso);
}

TEST(DecompilaScenario, fileGuastiDannoUnoSenzaScrivereNulla) {
  CartellaTemporanea binari;
  CartellaTemporanea uscita;
  const ScenarioCompilato& s = scenario_incorporato();
  scrivi_binari(binari, kIncorporato, s.tracciato, s.voci, s.percorso.substr(0, 100));
  const EsitoProcesso e = decompila({binari.percorso(), "--cartella", uscita.percorso()});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find(binari.file("Tavena_Crostia_4417.dat") + ": byte "), std::string::npos)
      << e.errori;
  EXPECT_NE(e.errori.find("nulla e' scritto"), std::string::npos);
  EXPECT_TRUE(uscita.nomi().empty());
}

struct ArgomentiSbagliati {
  const char* nome;
  std::vector<std::string> argomenti;  // "{}" stands for the folder of the files
  const char* messaggio;
};

class DecompilaArgomenti : public testing::TestWithParam<ArgomentiSbagliati> {};

TEST_P(DecompilaArgomenti, danoDueEIlMotivo) {
  CartellaTemporanea binari;
  scrivi_incorporato(binari);
  scrivi_binari(binari, {"Altro", "9"}, "", "", "");
  std::vector<std::string> argomenti;
  for (const std::string& a : GetParam().argomenti) {
    argomenti.push_back(a == "{}" ? binari.percorso() : a);
  }
  const EsitoProcesso e = decompila(argomenti);
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.errori.find(GetParam().messaggio), std::string::npos) << e.errori;
}

INSTANTIATE_TEST_SUITE_P(
    Casi, DecompilaArgomenti,
    testing::Values(ArgomentiSbagliati{"nessuna_cartella", {}, "manca la cartella dei file"},
                    ArgomentiSbagliati{"due_scenari", {"{}"}, "Altro / 9, Tavena_Crostia / 4417"},
                    ArgomentiSbagliati{"scenario_senza_treno",
                                       {"{}", "--scenario", "X"},
                                       "--scenario senza --treno"},
                    ArgomentiSbagliati{
                        "file_mancante", {"{}", "--scenario", "X", "--treno", "1"}, "X_linea.dat"}),
    [](const testing::TestParamInfo<ArgomentiSbagliati>& i) { return i.param.nome; });

// --version prints the name and the project's version, whatever else the line holds, and
// writes nothing.
TEST(DecompilaScenario, laVersioneDelProgetto) {
  CartellaTemporanea uscita;
  for (const std::vector<std::string>& argomenti :
       {std::vector<std::string>{"--version"}, {"--cartella", uscita.percorso(), "--version"}}) {
    const EsitoProcesso e = decompila(argomenti);
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.uscita, riga_della_versione("decompila_scenario") + "\n");
    EXPECT_EQ(e.errori, "");
  }
  EXPECT_TRUE(uscita.nomi().empty());
}

TEST(DecompilaScenario, conScenarioETrenoSceglieTraPiuScenari) {
  CartellaTemporanea binari;
  CartellaTemporanea uscita;
  scrivi_incorporato(binari);
  scrivi_binari(binari, {"Altro", "9"}, "", "", "");
  const EsitoProcesso e = decompila({binari.percorso(), "--scenario", "Tavena_Crostia", "--treno",
                                     "4417", "--cartella", uscita.percorso()});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(uscita.esiste("Tavena_Crostia_linea.txt"));
}

}  // namespace
