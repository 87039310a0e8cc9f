#include "platform/disco_in_memoria.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <string>

namespace piattaforma {
namespace {

TEST(DiscoInMemoria, OperazioniComeIlDiscoReale) {
  DiscoInMemoria disco;
  disco.scrivi_nuovo("/c/a.txt", "contenuto");
  EXPECT_THROW(disco.scrivi_nuovo("/c/a.txt", "altro"), ErroreFile);
  EXPECT_EQ(disco.leggi("/c/a.txt"), "contenuto");
  disco.scrivi_nuovo("/c/b.txt", "b");
  disco.rinomina("/c/b.txt", "/c/a.txt");
  EXPECT_EQ(disco.leggi("/c/a.txt"), "b");
  EXPECT_FALSE(disco.esiste("/c/b.txt"));
  EXPECT_THROW(disco.rinomina("/c/b.txt", "/c/a.txt"), ErroreFile);
  disco.collega("/c/a.txt", "/c/copia.txt");
  EXPECT_THROW(disco.collega("/c/a.txt", "/c/copia.txt"), ErroreFile);
  EXPECT_THROW(disco.collega("/c/assente.txt", "/c/altra.txt"), ErroreFile);
  disco.scrivi_nuovo("/c/sotto/d.txt", "d");
  disco.scrivi_nuovo("/cd/e.txt", "e");
  EXPECT_EQ(disco.elenca("/c"), (std::vector<std::string>{"a.txt", "copia.txt"}));
  disco.elimina("/c/a.txt");
  EXPECT_FALSE(disco.esiste("/c/a.txt"));
  EXPECT_EQ(disco.leggi("/c/copia.txt"), "b");
  EXPECT_THROW(disco.elimina("/c/a.txt"), ErroreFile);
  EXPECT_THROW(disco.leggi("/c/a.txt"), ErroreFile);
  EXPECT_EQ(disco.percorso_in("/c", "b.dat"), "/c/b.dat");
}

// The chosen operation fails without changing anything; the ones before and after it work.
TEST(DiscoInMemoria, IlGuastoColpisceSoloLOperazioneScelta) {
  DiscoInMemoria disco;
  disco.registra = true;
  disco.guasto_all_operazione = 2;
  disco.scrivi_nuovo("/c/t", "nuovo");
  disco.scrivi_nuovo("/c/a.txt", "vecchio");
  try {
    disco.rinomina("/c/t", "/c/a.txt");
    FAIL() << "nessun guasto alla terza operazione";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "sostituire");
    EXPECT_EQ(e.percorso(), "/c/a.txt");
    EXPECT_EQ(e.motivo(), "guasto simulato");
  }
  EXPECT_EQ(disco.leggi("/c/a.txt"), "vecchio");
  EXPECT_EQ(disco.leggi("/c/t"), "nuovo");
  EXPECT_EQ(disco.operazioni, 5);
  EXPECT_EQ(disco.registro,
            (std::vector<std::string>{"creare /c/t", "creare /c/a.txt", "rinominare /c/t /c/a.txt",
                                      "aprire /c/a.txt", "aprire /c/t"}));
}

// Every operation but esiste can be made to fail, and each failure is an ErroreFile.
TEST(DiscoInMemoria, OgniOperazionePuoFallire) {
  const std::function<void(DiscoInMemoria&)> operazioni[] = {
      [](DiscoInMemoria& d) { d.leggi("/c/a"); },
      [](DiscoInMemoria& d) { d.elimina("/c/a"); },
      [](DiscoInMemoria& d) { d.scrivi_nuovo("/c/nuovo", "x"); },
      [](DiscoInMemoria& d) { d.rinomina("/c/a", "/c/b"); },
      [](DiscoInMemoria& d) { d.collega("/c/a", "/c/b"); },
      [](DiscoInMemoria& d) { d.elenca("/c"); },
      [](DiscoInMemoria& d) { d.blocca("/c"); },
  };
  for (size_t i = 0; i < std::size(operazioni); ++i) {
    DiscoInMemoria disco;
    disco.file["/c/a"] = "a";
    disco.guasto_all_operazione = 0;
    EXPECT_THROW(operazioni[i](disco), ErroreFile) << "operazione " << i;
    EXPECT_EQ(disco.file.at("/c/a"), "a") << "operazione " << i;
    EXPECT_FALSE(disco.esiste("/c/b")) << "operazione " << i;
    EXPECT_TRUE(disco.cartelle_bloccate.empty()) << "operazione " << i;
  }
}

// A write that fails leaves the new file cut, as a full disk does.
TEST(DiscoInMemoria, UnaScritturaCheFallisceLasciaMezzoFile) {
  DiscoInMemoria disco;
  disco.guasto_all_operazione = 0;
  EXPECT_THROW(disco.scrivi_nuovo("/c/a", "abcdef"), ErroreFile);
  EXPECT_EQ(disco.file.at("/c/a"), "abc");
}

// Large files dropped (deleted, or replaced by a rename) lend their storage to later files:
// each new file holds its own bytes and nothing of the one before, whatever their sizes.
TEST(DiscoInMemoria, IFileNuoviNonPortanoNullaDeiFileCaduti) {
  const auto byte = [](size_t n, char c) { return std::string(n, c) + "fine"; };
  DiscoInMemoria disco;
  disco.scrivi_nuovo("/c/a", byte(300000, 'a'));
  disco.scrivi_nuovo("/c/b", byte(100000, 'b'));
  disco.scrivi_nuovo("/c/c", byte(200000, 'c'));
  disco.elimina("/c/a");
  disco.rinomina("/c/c", "/c/b");
  disco.scrivi_nuovo("/c/d", byte(70000, 'd'));
  disco.scrivi_nuovo("/c/e", byte(250000, 'e'));
  disco.collega("/c/e", "/c/f");
  disco.guasto_all_operazione = disco.operazioni;
  EXPECT_THROW(disco.scrivi_nuovo("/c/g", byte(180000, 'g')), ErroreFile);
  disco.scrivi_nuovo("/c/h", byte(400000, 'h'));
  const std::map<std::string, std::string> attesi = {{"/c/b", byte(200000, 'c')},
                                                     {"/c/d", byte(70000, 'd')},
                                                     {"/c/e", byte(250000, 'e')},
                                                     {"/c/f", byte(250000, 'e')},
                                                     {"/c/g", byte(180000, 'g').substr(0, 90002)},
                                                     {"/c/h", byte(400000, 'h')}};
  EXPECT_EQ(disco.file, attesi);
}

TEST(DiscoInMemoria, UnaCartellaBloccataSiLiberaConLaSuaPresa) {
  DiscoInMemoria disco;
  {
    const auto presa = disco.blocca("/c");
    EXPECT_EQ(disco.cartelle_bloccate, std::set<std::string>{"/c"});
    EXPECT_THROW(disco.blocca("/c"), std::logic_error);
    const auto altra = disco.blocca("/d");
  }
  EXPECT_TRUE(disco.cartelle_bloccate.empty());
  EXPECT_NO_THROW(disco.blocca("/c"));
}

TEST(DiscoInMemoria, EliminaSeEsisteNonFallisceMai) {
  DiscoInMemoria disco;
  disco.elimina_se_esiste("/c/assente.txt");
  disco.scrivi_nuovo("/c/a.txt", "x");
  disco.guasto_all_operazione = disco.operazioni;
  disco.elimina_se_esiste("/c/a.txt");
  EXPECT_TRUE(disco.esiste("/c/a.txt"));
  disco.elimina_se_esiste("/c/a.txt");
  EXPECT_FALSE(disco.esiste("/c/a.txt"));
}

// Only the files directly in the folder, sorted; a folder whose name begins like it is not
// listed. A folder exists in memory only through its files: one that holds none lists empty.
TEST(DiscoInMemoria, ElencaIFileDiUnaCartella) {
  DiscoInMemoria disco;
  disco.ricrea("/c/b.dat", "");
  disco.ricrea("/c/a.sim", "");
  disco.ricrea("/c/sotto/x.txt", "");
  disco.ricrea("/cc/y.txt", "");
  EXPECT_EQ(disco.elenca("/c"), (std::vector<std::string>{"a.sim", "b.dat"}));
  EXPECT_TRUE(disco.elenca("/vuota").empty());
  disco.guasto_all_operazione = disco.operazioni;
  EXPECT_THROW(disco.elenca("/c"), ErroreFile);
}

}  // namespace
}  // namespace piattaforma
