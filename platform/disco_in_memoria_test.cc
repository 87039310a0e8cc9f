#include "platform/disco_in_memoria.h"

#include <gtest/gtest.h>

namespace piattaforma {
namespace {

TEST(DiscoInMemoria, RicreaLeggeEliminaComeIlDiscoReale) {
  DiscoInMemoria disco;
  disco.ricrea("/c/a.txt", "contenuto lungo");
  disco.ricrea("/c/a.txt", "corto");
  EXPECT_EQ(disco.leggi("/c/a.txt"), "corto");
  EXPECT_TRUE(disco.esiste("/c/a.txt"));
  disco.elimina("/c/a.txt");
  EXPECT_FALSE(disco.esiste("/c/a.txt"));
  EXPECT_THROW(disco.elimina("/c/a.txt"), ErroreFile);
  EXPECT_THROW(disco.leggi("/c/a.txt"), ErroreFile);
  EXPECT_EQ(disco.percorso_in("/c", "b.dat"), "/c/b.dat");
}

// The chosen operation fails without changing anything; the ones before and after it work.
TEST(DiscoInMemoria, IlGuastoColpisceSoloLOperazioneScelta) {
  DiscoInMemoria disco;
  disco.registra = true;
  disco.guasto_all_operazione = 1;
  disco.ricrea("/c/a.txt", "vecchio");
  try {
    disco.ricrea("/c/a.txt", "nuovo");
    FAIL() << "nessun guasto alla seconda operazione";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "creare");
    EXPECT_EQ(e.percorso(), "/c/a.txt");
    EXPECT_EQ(e.motivo(), "guasto simulato");
  }
  EXPECT_EQ(disco.leggi("/c/a.txt"), "vecchio");
  EXPECT_EQ(disco.operazioni, 3);
  EXPECT_EQ(disco.registro,
            (std::vector<std::string>{"creare /c/a.txt", "creare /c/a.txt", "aprire /c/a.txt"}));
}

TEST(DiscoInMemoria, EliminaSeEsisteNonFallisceMai) {
  DiscoInMemoria disco;
  disco.elimina_se_esiste("/c/assente.txt");
  disco.ricrea("/c/a.txt", "x");
  disco.guasto_all_operazione = disco.operazioni;
  disco.elimina_se_esiste("/c/a.txt");
  EXPECT_TRUE(disco.esiste("/c/a.txt"));
  disco.elimina_se_esiste("/c/a.txt");
  EXPECT_FALSE(disco.esiste("/c/a.txt"));
}

// Only the files directly in the folder, sorted; a folder whose name begins like it, or one
// that holds nothing, is not listed.
TEST(DiscoInMemoria, ElencaIFileDiUnaCartella) {
  DiscoInMemoria disco;
  disco.ricrea("/c/b.dat", "");
  disco.ricrea("/c/a.sim", "");
  disco.ricrea("/c/sotto/x.txt", "");
  disco.ricrea("/cc/y.txt", "");
  EXPECT_EQ(disco.elenca("/c"), (std::vector<std::string>{"a.sim", "b.dat"}));
  EXPECT_THROW(disco.elenca("/vuota"), ErroreFile);
  disco.guasto_all_operazione = disco.operazioni;
  EXPECT_THROW(disco.elenca("/c"), ErroreFile);
}

}  // namespace
}  // namespace piattaforma
