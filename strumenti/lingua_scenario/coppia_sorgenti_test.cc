#include "strumenti/lingua_scenario/coppia_sorgenti.h"

#include <gtest/gtest.h>

#include "platform/disco_in_memoria.h"

namespace {

const char* const kLinea =
    "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
    "cartello_indicatore, 1000, PRIMO\r\n[fine]\r\n";
const char* const kTreno = "[generale]\r\nvelocita, 19000, 100\r\n[fine]\r\n";

TEST(CoppiaSorgenti, ALineSourceTakesTheFirstTrainSourceByName) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_linea.txt"] = kLinea;
  disco.file["/d/P_9-.txt"] = kTreno;
  disco.file["/d/Q_1-.txt"] = kTreno;
  DocumentiAperti aperti;
  aperti["file:///d/P_10-.txt"] = {"/d/P_10-.txt", std::make_shared<const TestoEditor>(kTreno)};
  const CoppiaCompilata k = compila_coppia("/d/P_linea.txt", aperti, disco);
  EXPECT_EQ(k.linea.percorso, "/d/P_linea.txt");
  EXPECT_EQ(k.treno.percorso, "/d/P_10-.txt");
  EXPECT_EQ(k.treno.testo, aperti.begin()->second.testo);  // the editor's text, not the disk's
  EXPECT_EQ(k.nome_linea, "P_linea.txt");
  EXPECT_EQ(k.nome_treno, "P_10-.txt");
  EXPECT_TRUE(k.c.problemi.empty());
}

TEST(CoppiaSorgenti, ATrainSourceTakesItsLineFromTheDiskWhenItIsNotOpen) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/Nome_con_sotto_4417-.txt"] = "non letto: il testo aperto conta";
  disco.file["/d/Nome_con_sotto_linea.txt"] = kLinea;
  DocumentiAperti aperti;
  aperti["u"] = {"/d/Nome_con_sotto_4417-.txt", std::make_shared<const TestoEditor>(kTreno)};
  const CoppiaCompilata k = compila_coppia("/d/Nome_con_sotto_4417-.txt", aperti, disco);
  ASSERT_TRUE(k.linea.testo);
  EXPECT_EQ(k.linea.testo->utf8(), kLinea);
  EXPECT_EQ(k.treno.testo->utf8(), kTreno);
  EXPECT_EQ(k.nome_treno, "Nome_con_sotto_4417-.txt");
  EXPECT_TRUE(k.c.problemi.empty());
}

// The line source reads its trains' names by the naming rule with its scenario known: the
// train number is all that follows "NOME_".
TEST(CoppiaSorgenti, ATrainNumberMayHoldAnUnderscore) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/Linea_A_linea.txt"] = kLinea;
  disco.file["/d/Linea_A_44_17-.txt"] = kTreno;
  const CoppiaCompilata k = compila_coppia("/d/Linea_A_linea.txt", {}, disco);
  EXPECT_EQ(k.treno.percorso, "/d/Linea_A_44_17-.txt");
  EXPECT_EQ(k.nome_treno, "Linea_A_44_17-.txt");
  EXPECT_TRUE(k.c.problemi.empty());
}

TEST(CoppiaSorgenti, NamesAndScenarios) {
  struct Caso {
    const char* a;
    const char* b;
    bool stesso;
  };
  const Caso casi[] = {
      {"/d/P_linea.txt", "/d/P_7-.txt", true},
      {"/d/P_linea.txt", "/e/P_7-.txt", false},
      {"/d/P_linea.txt", "/d/Q_7-.txt", false},
      {"/d/altro.txt", "/d/altro.txt", false},
      // A train number with "_": read against the line source's scenario, whole.
      {"/d/Linea_A_linea.txt", "/d/Linea_A_44_17-.txt", true},
      {"/d/Linea_A_44_17-.txt", "/d/Linea_A_linea.txt", true},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(stesso_scenario(c.a, c.b), c.stesso) << c.a << " " << c.b;
  }
  EXPECT_EQ(genere_del_file("/d/P_7-.txt"), GenereSorgente::treno);
  EXPECT_EQ(genere_del_file("/d/P_linea.txt"), GenereSorgente::linea);
  EXPECT_EQ(genere_del_file("/d/altro.txt"), GenereSorgente::linea);
}

// A signal in the cell the line's sign board holds: the train source has the problem, with
// its note in the line source; the line source has none.
TEST(CoppiaSorgenti, EachFileGetsItsOwnProblems) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_linea.txt"] = kLinea;
  DocumentiAperti aperti;
  aperti["u"] = {"/d/P_7-.txt",
                 std::make_shared<const TestoEditor>(
                     "[generale]\r\nsegnale, 1000, 1,0,0,0, 0, 0,0,0,0, 0\r\n\xe2\x98\x83\r\n")};
  const CoppiaCompilata k = compila_coppia("/d/P_7-.txt", aperti, disco);
  const std::vector<Diagnosi> treno = diagnosi_del_file(k, k.treno);
  ASSERT_GE(treno.size(), 2u);
  EXPECT_EQ(
      treno[0].codice,
      (std::variant<std::monostate, int32_t, std::string>(std::string("carattere-senza-byte"))));
  EXPECT_EQ(treno[0].posto.riga, 3);
  const auto segnale = std::find_if(treno.begin(), treno.end(), [](const Diagnosi& d) {
    return d.codice == std::variant<std::monostate, int32_t, std::string>(int32_t{16});
  });
  ASSERT_NE(segnale, treno.end());
  EXPECT_EQ(segnale->posto.file, "/d/P_7-.txt");
  ASSERT_EQ(segnale->note.size(), 1u);
  EXPECT_EQ(segnale->note[0].posto.file, "/d/P_linea.txt");
  EXPECT_EQ(segnale->note[0].posto.riga, 4);
  for (const Diagnosi& d : diagnosi_del_file(k, k.linea)) {
    EXPECT_EQ(d.gravita, Gravita::avviso) << d.messaggio;
  }
}

// The problem of a missing line source is the line source's, not its train's.
TEST(CoppiaSorgenti, AMissingFileKeepsItsOwnProblem) {
  piattaforma::DiscoInMemoria disco;
  DocumentiAperti aperti;
  aperti["u"] = {"/d/P_7-.txt", std::make_shared<const TestoEditor>(kTreno)};
  const CoppiaCompilata k = compila_coppia("/d/P_7-.txt", aperti, disco);
  EXPECT_FALSE(k.linea.testo);
  const std::vector<Diagnosi> linea = diagnosi_del_file(k, k.linea);
  ASSERT_FALSE(linea.empty());
  EXPECT_EQ(linea.front().posto.file, "/d/P_linea.txt");
  EXPECT_TRUE(diagnosi_del_file(k, k.treno).empty());
}

}  // namespace
