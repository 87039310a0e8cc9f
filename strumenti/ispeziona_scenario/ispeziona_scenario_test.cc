// The inspector as an author runs it: its messages, its exit statuses and its output.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/leggi_binario.h"
#include "generati/versione.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "prove/scenario_compilato.h"
#include "strumenti/ispezione/ispezione.h"

namespace {

using piattaforma::CartellaTemporanea;

const Identita kIncorporato{"Tavena_Crostia", "4417"};

EsitoProcesso ispeziona(const std::vector<std::string>& argomenti) {
  return esegui_con_argomenti(ISPEZIONA_SCENARIO_ESEGUIBILE, argomenti);
}

// The three files of the built-in run, written into the folder under the names of `id`.
void scrivi_binari(const CartellaTemporanea& c, const Identita& id = kIncorporato) {
  const ScenarioCompilato& s = scenario_incorporato();
  const auto nomi = nomi_binari(id);
  c.scrivi(nomi[kFileTracciato], s.tracciato);
  c.scrivi(nomi[kFileVoci], s.voci);
  c.scrivi(nomi[kFilePercorso], s.percorso);
}

bool contiene(const std::string& testo, const std::string& parte) {
  return testo.find(parte) != std::string::npos;
}

TEST(IspezionaScenario, FileSaniDannoIlRiepilogoEStato0) {
  CartellaTemporanea c;
  scrivi_binari(c);
  c.scrivi("Tavena_Crostia_4417_scheda_treno.txt", "altri file non disturbano");
  const EsitoProcesso e = ispeziona({c.percorso()});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.errori, "");
  EXPECT_TRUE(contiene(e.uscita, "Scenario Tavena_Crostia, treno 4417 (" + c.percorso() + ")\n"));
  EXPECT_TRUE(contiene(e.uscita, "Stazioni in ordine di marcia (29):\n"));
  EXPECT_TRUE(contiene(e.uscita, "Rallentamenti (3):\n"));
  EXPECT_FALSE(contiene(e.uscita, "difetti"));
}

TEST(IspezionaScenario, JsonDiTuttoCioCheHaLetto) {
  CartellaTemporanea c;
  scrivi_binari(c);
  const EsitoProcesso e = ispeziona({c.percorso(), "--json"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  const auto j = nlohmann::json::parse(e.uscita);
  EXPECT_EQ(j["treno"], "4417");
  EXPECT_EQ(j["voci"].size(), 87u);
  EXPECT_EQ(j["percorso"].size(), 2161u);
  EXPECT_EQ(j["tracciato"]["y"].size(), 108001u);
  EXPECT_TRUE(j["difetti"].empty());
}

// A damaged file: every fault on standard error with the path, the byte and the place, the
// summary of what was read all the same, status 1.
TEST(IspezionaScenario, IDifettiConFileByteEPostoEStato1) {
  CartellaTemporanea c;
  scrivi_binari(c);
  std::string percorso = scenario_incorporato().percorso;
  percorso[18] = 0;
  percorso[19] = 0;
  percorso[15 * 700] = 99;
  c.scrivi("Tavena_Crostia_4417.dat", percorso);
  const EsitoProcesso e = ispeziona({c.percorso()});
  EXPECT_EQ(e.stato, 1);
  const std::string file = c.file("Tavena_Crostia_4417.dat");
  const std::string og =
      std::to_string(static_cast<uint8_t>(scenario_incorporato().percorso[18]) |
                     static_cast<uint8_t>(scenario_incorporato().percorso[19]) << 8);
  EXPECT_EQ(e.errori, file +
                          ": byte 18: cella 1, valore_2: codice 0, l'identita' "
                          "Tavena_Crostia / 4417 da' " +
                          og + "\n" + file +
                          ": byte 10500: cella 700, genere: genere 99, che nessuna riga "
                          "produce\n");
  EXPECT_TRUE(contiene(e.uscita, "Stazioni in ordine di marcia (29):\n"));
  EXPECT_TRUE(contiene(e.uscita, "2 difetti nei file.\n"));
}

TEST(IspezionaScenario, UnFileTroncatoNelleVoci) {
  CartellaTemporanea c;
  scrivi_binari(c);
  const int64_t voce_40 = leggi_voci(scenario_incorporato().voci).inizio[40];
  c.scrivi("Tavena_Crostia_4417.sim", scenario_incorporato().voci.substr(0, voce_40 + 3));
  const EsitoProcesso e = ispeziona({c.percorso()});
  EXPECT_EQ(e.stato, 1);
  EXPECT_TRUE(contiene(e.errori, c.file("Tavena_Crostia_4417.sim") + ": byte " +
                                     std::to_string(voce_40 + 1) +
                                     ": voce 40, inizio_area: il file finisce dentro il campo"))
      << e.errori;
}

TEST(IspezionaScenario, UnFileMancanteEStato2) {
  CartellaTemporanea c;
  scrivi_binari(c);
  const EsitoProcesso e = ispeziona({c.percorso(), "--scenario", "Tavena_Crostia", "--treno", "1"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_EQ(e.uscita, "");
  EXPECT_TRUE(contiene(e.errori,
                       "ispeziona_scenario: impossibile aprire " + c.file("Tavena_Crostia_1.sim")))
      << e.errori;
}

// Exactly one scenario in the folder names itself; two need choosing.
TEST(IspezionaScenario, LIdentitaDaiNomiDeiFile) {
  CartellaTemporanea c;
  scrivi_binari(c);
  scrivi_binari(c, {"Altro", "12"});
  const EsitoProcesso due = ispeziona({c.percorso()});
  EXPECT_EQ(due.stato, 2);
  EXPECT_TRUE(contiene(due.errori, "piu' scenari in " + c.percorso() +
                                       " (Altro / 12, Tavena_Crostia / 4417): sceglierne uno "
                                       "con --scenario e --treno\n"))
      << due.errori;
  const EsitoProcesso scelto =
      ispeziona({c.percorso(), "--scenario", "Tavena_Crostia", "--treno", "4417"});
  EXPECT_EQ(scelto.stato, 0) << scelto.errori;
  // The other one's files hold the built-in names: the inspector says they do not match.
  const EsitoProcesso altro = ispeziona({"--treno", "12", c.percorso(), "--scenario", "Altro"});
  EXPECT_EQ(altro.stato, 1);
  EXPECT_TRUE(contiene(altro.errori,
                       "voce 85, testo: nomina lo scenario \"Tavena_Crostia\", i "
                       "nomi dei file \"Altro\""))
      << altro.errori;

  CartellaTemporanea vuota;
  const EsitoProcesso nessuno = ispeziona({vuota.percorso()});
  EXPECT_EQ(nessuno.stato, 2);
  EXPECT_TRUE(contiene(nessuno.errori, "nessuno scenario completo in " + vuota.percorso()));
}

TEST(IspezionaScenario, ArgomentiSbagliatiDannoLUsoEStato2) {
  const std::string uso =
      "uso: ispeziona_scenario CARTELLA [--scenario NOME --treno NUMERO] [--json] [--html FILE]\n";
  struct Caso {
    std::vector<std::string> argomenti;
    std::string messaggio;
  };
  const Caso casi[] = {
      {{}, "manca la cartella dei file"},
      {{"a", "b"}, "argomento in piu'"},
      {{"a", "--colori"}, "argomento in piu'"},
      {{"a", "--html"}, "senza il suo valore"},
      {{"a", "--scenario", "X"}, "--scenario senza --treno"},
      {{"a", "--treno", "1"}, "--treno senza --scenario"},
      {{"/una/cartella/che/non/esiste"}, "impossibile elencare /una/cartella/che/non/esiste"},
  };
  for (const Caso& k : casi) {
    const EsitoProcesso e = ispeziona(k.argomenti);
    EXPECT_EQ(e.stato, 2) << k.messaggio;
    EXPECT_EQ(e.uscita, "") << k.messaggio;
    EXPECT_TRUE(contiene(e.errori, "ispeziona_scenario: ")) << e.errori;
    EXPECT_TRUE(contiene(e.errori, k.messaggio)) << e.errori;
  }
  EXPECT_TRUE(contiene(ispeziona({}).errori, uso));
  const EsitoProcesso aiuto = ispeziona({"--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_TRUE(aiuto.uscita.starts_with(uso)) << aiuto.uscita;
  EXPECT_TRUE(contiene(aiuto.uscita, "Stato d'uscita"));
}

// --version prints the name and the project's version, whatever else the line holds.
TEST(IspezionaScenario, LaVersioneDelProgetto) {
  for (const std::vector<std::string>& argomenti :
       {std::vector<std::string>{"--version"}, {"a", "b", "--colori", "--version"}}) {
    const EsitoProcesso e = ispeziona(argomenti);
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.uscita, riga_della_versione("ispeziona_scenario") + "\n");
    EXPECT_EQ(e.errori, "");
  }
}

TEST(IspezionaScenario, LaPaginaScrittaOUnErroreSeNonSiPuo) {
  CartellaTemporanea c;
  scrivi_binari(c);
  const EsitoProcesso e = ispeziona({c.percorso(), "--html", c.file("linea.html")});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(c.leggi("linea.html").starts_with("<!DOCTYPE html>"));
  const EsitoProcesso no = ispeziona({c.percorso(), "--html", c.file("manca/linea.html")});
  EXPECT_EQ(no.stato, 2);
  EXPECT_TRUE(contiene(no.errori, "impossibile creare " + c.file("manca/linea.html"))) << no.errori;
}

// Two folders compared: the differences by place, status 1; none, status 0; a folder without
// a scenario, status 2.
TEST(IspezionaScenario, ConfrontaDueCartelle) {
  CartellaTemporanea prima;
  CartellaTemporanea dopo;
  scrivi_binari(prima);
  const ScenarioCompilato& s = scenario_incorporato();
  const auto nomi = nomi_binari(kIncorporato);
  std::string percorso = s.percorso;
  // The speed limit of cell 200, metres 10000 to 10050, lowered by 5 km/h.
  percorso[15 * 200 + 12] = static_cast<char>(percorso[15 * 200 + 12] - 1);
  dopo.scrivi(nomi[kFileTracciato], s.tracciato);
  dopo.scrivi(nomi[kFileVoci], s.voci);
  dopo.scrivi(nomi[kFilePercorso], percorso);

  const EsitoProcesso diverse = ispeziona({prima.percorso(), "--confronta", dopo.percorso()});
  EXPECT_EQ(diverse.stato, 1) << diverse.errori;
  EXPECT_TRUE(contiene(diverse.uscita, "10000-10050 m: velocita' massima cambiata da 10000 m a "
                                       "10050 m"))
      << diverse.uscita;
  const EsitoProcesso json =
      ispeziona({prima.percorso(), "--confronta", dopo.percorso(), "--json"});
  EXPECT_EQ(json.stato, 1) << json.errori;
  const auto j = nlohmann::json::parse(json.uscita);
  ASSERT_EQ(j.size(), 1u) << json.uscita;
  EXPECT_EQ(j[0]["da"], 10000);
  EXPECT_EQ(j[0]["a"], 10050);
  EXPECT_EQ(j[0]["cosa"], "velocita");

  const EsitoProcesso uguali = ispeziona({prima.percorso(), "--confronta", prima.percorso()});
  EXPECT_EQ(uguali.stato, 0) << uguali.errori;
  CartellaTemporanea vuota;
  EXPECT_EQ(ispeziona({prima.percorso(), "--confronta", vuota.percorso()}).stato, 2);
  EXPECT_EQ(ispeziona({prima.percorso(), "--confronta"}).stato, 2);
}

}  // namespace
