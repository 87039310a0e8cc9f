#include "strumenti/lingua_scenario/coppia_sorgenti.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

// A train source finds its line source among those in its folder, open or on the disk, by the
// scenario its name begins with, the longest when several do; without one, its name splits at
// its last "_".
TEST(CoppiaSorgenti, EachSourceFindsItsLineSource) {
  struct Caso {
    const char* sorgente;
    std::vector<const char*> su_disco;
    const char* aperta;  // open in the editor, not on the disk
    std::optional<std::string> linea;
  };
  const Caso casi[] = {
      {"/d/P_linea.txt", {}, nullptr, "/d/P_linea.txt"},
      {"/d/P_7-.txt", {}, nullptr, "/d/P_linea.txt"},
      {"/d/P_7-.txt", {"/e/Q_linea.txt"}, nullptr, "/d/P_linea.txt"},
      {"/d/altro.txt", {}, nullptr, std::nullopt},
      {"/d/Linea_A_44_17-.txt", {}, nullptr, "/d/Linea_A_44_linea.txt"},
      {"/d/Linea_A_44_17-.txt", {"/d/Linea_A_linea.txt"}, nullptr, "/d/Linea_A_linea.txt"},
      {"/d/Linea_A_44_17-.txt", {}, "/d/Linea_A_linea.txt", "/d/Linea_A_linea.txt"},
      {"/d/Linea_A_44_17-.txt", {"/d/Linea_linea.txt"}, nullptr, "/d/Linea_linea.txt"},
      {"/d/Linea_A_44_17-.txt",
       {"/d/Linea_linea.txt", "/d/Linea_A_linea.txt", "/d/Altra_linea.txt"},
       nullptr,
       "/d/Linea_A_linea.txt"},
      // A line source of another folder, or one whose scenario the name does not begin with.
      {"/d/Linea_A_44_17-.txt",
       {"/e/Linea_A_linea.txt", "/d/Lin_linea.txt"},
       nullptr,
       "/d/Linea_A_44_linea.txt"},
  };
  for (const Caso& c : casi) {
    piattaforma::DiscoInMemoria disco;
    for (const char* f : c.su_disco) {
      disco.file[f] = kLinea;
    }
    DocumentiAperti aperti;
    if (c.aperta) {
      aperti[std::string("file://") + c.aperta] = {c.aperta,
                                                   std::make_shared<const TestoEditor>(kLinea)};
    }
    EXPECT_EQ(linea_del_file(c.sorgente, aperti, disco), c.linea) << c.sorgente;
  }
  EXPECT_EQ(genere_del_file("/d/P_7-.txt"), GenereSorgente::treno);
  EXPECT_EQ(genere_del_file("/d/P_linea.txt"), GenereSorgente::linea);
  EXPECT_EQ(genere_del_file("/d/altro.txt"), GenereSorgente::linea);
}

// The train sources of a line, open or on the disk, by name and each once; those of another
// scenario or folder are not its.
TEST(CoppiaSorgenti, TheTrainSourcesOfALine) {
  piattaforma::DiscoInMemoria disco;
  for (const char* f : {"/d/P_linea.txt", "/d/P_9-.txt", "/d/P_10-.txt", "/d/Q_1-.txt",
                        "/d/P_9_note.txt", "/e/P_8-.txt"}) {
    disco.file[f] = kTreno;
  }
  DocumentiAperti aperti;
  aperti["file:///d/P_10-.txt"] = {"/d/P_10-.txt", std::make_shared<const TestoEditor>(kTreno)};
  aperti["file:///d/P_2-.txt"] = {"/d/P_2-.txt", std::make_shared<const TestoEditor>(kTreno)};
  EXPECT_EQ(treni_della_linea("/d/P_linea.txt", aperti, disco),
            (std::vector<std::string>{"/d/P_10-.txt", "/d/P_2-.txt", "/d/P_9-.txt"}));
  const std::vector<ProblemiDellaCoppia> coppie =
      problemi_della_linea("/d/P_linea.txt", aperti, disco);
  ASSERT_EQ(coppie.size(), 3u);
  EXPECT_EQ(coppie[1].numero_treno, "2");
  EXPECT_EQ(coppie[1].treno.testo, aperti["file:///d/P_2-.txt"].testo);
  EXPECT_EQ(coppie[2].treno.percorso, "/d/P_9-.txt");
  // Without a train source, the line alone.
  const std::vector<ProblemiDellaCoppia> sola = problemi_della_linea("/d/Z_linea.txt", {}, disco);
  ASSERT_EQ(sola.size(), 1u);
  EXPECT_EQ(sola[0].numero_treno, "");
  EXPECT_FALSE(sola[0].treno.testo);
}

// The line source's problems over three trains: one that every train gives (a character
// without a byte) comes once and as it is; one that only some give (a sign's text too long for
// the entry file, found only when the stamps were set) says which.
TEST(CoppiaSorgenti, TheLineSourceHasTheProblemsOfEachTrain) {
  piattaforma::DiscoInMemoria disco;
  const std::string testo_lungo(70000, 'A');
  DocumentiAperti aperti;
  aperti["file:///d/P_linea.txt"] = {
      "/d/P_linea.txt",
      std::make_shared<const TestoEditor>(
          "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\ncartello_indicatore, 1000, " +
          testo_lungo + "\r\n[fine]\r\n\xe2\x98\x83\r\n")};
  const char* const valido = "[generale]\r\nnumero vetture, 5\r\n[fine]\r\n";
  disco.file["/d/P_4417-.txt"] = valido;
  // A slow-down in the first cell: the stamps find it taken, and the compile stops there.
  disco.file["/d/P_4418-.txt"] = "[generale]\r\nrallentamento, 0, 70, 300, 0, 0, 0\r\n[fine]\r\n";
  disco.file["/d/P_4419-.txt"] = valido;
  const std::vector<ProblemiDellaCoppia> coppie =
      problemi_della_linea("/d/P_linea.txt", aperti, disco);
  ASSERT_EQ(coppie.size(), 3u);
  EXPECT_EQ(coppie[1].del_treno.size(), 1u);  // the stamps' conflict
  std::vector<std::string> messaggi;
  for (const Diagnosi& d : diagnosi_della_linea(coppie)) {
    EXPECT_EQ(d.posto.file, "/d/P_linea.txt");
    messaggi.push_back(testo_del_luogo(d.posto) + " " + d.messaggio);
  }
  ASSERT_EQ(messaggi.size(), 2u);
  EXPECT_EQ(messaggi[0], "/d/P_linea.txt:6:1 carattere che Windows-1252 non ha");
  EXPECT_TRUE(messaggi[1].starts_with("/d/P_linea.txt:4:28 ")) << messaggi[1];
  EXPECT_TRUE(messaggi[1].ends_with(" (treni 4417, 4419)")) << messaggi[1];
  // One train alone: its problems, and nothing added to them.
  piattaforma::DiscoInMemoria uno;
  uno.file["/d/P_4417-.txt"] = valido;
  const std::vector<Diagnosi> solo =
      diagnosi_della_linea(problemi_della_linea("/d/P_linea.txt", aperti, uno));
  ASSERT_EQ(solo.size(), 2u);
  EXPECT_EQ(solo[1].messaggio + " (treni 4417, 4419)",
            messaggi[1].substr(messaggi[1].find(' ') + 1));
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
