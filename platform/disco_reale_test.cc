#include "platform/disco_reale.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/piattaforma.h"
#include "prove/cartella_temporanea.h"

namespace piattaforma {
namespace {

DiscoReale disco;

TEST(RicreaFile, CreaUnFileAssente) {
  CartellaTemporanea cartella;
  disco.ricrea(cartella.file("nuovo.txt"), "abc");
  EXPECT_EQ(cartella.leggi("nuovo.txt"), "abc");
}

TEST(RicreaFile, SostituisceContenutoPiuLungo) {
  CartellaTemporanea cartella;
  cartella.scrivi("vecchio.txt", "contenuto vecchio e molto piu lungo");
  disco.ricrea(cartella.file("vecchio.txt"), "nuovo");
  EXPECT_EQ(cartella.leggi("vecchio.txt"), "nuovo");
}

TEST(RicreaFile, ContenutoVuotoLasciaUnFileVuoto) {
  CartellaTemporanea cartella;
  cartella.scrivi("vuoto.txt", "qualcosa");
  disco.ricrea(cartella.file("vuoto.txt"), "");
  EXPECT_TRUE(cartella.esiste("vuoto.txt"));
  EXPECT_EQ(cartella.leggi("vuoto.txt"), "");
}

TEST(RicreaFile, UnaCartellaAlPostoDelFileDaUnErroreCheNominaOperazionePercorsoEMotivo) {
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file("occupato.txt"));
  try {
    disco.ricrea(cartella.file("occupato.txt"), "x");
    FAIL() << "nessun errore per una cartella al posto del file";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "creare");
    EXPECT_EQ(e.percorso(), cartella.file("occupato.txt"));
    EXPECT_FALSE(e.motivo().empty());
    EXPECT_NE(std::string(e.what()).find(cartella.file("occupato.txt")), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_directory(cartella.file("occupato.txt")));
}

TEST(LeggiFile, RestituisceOgniByte) {
  CartellaTemporanea cartella;
  const std::string byte("a\r\nb\0\xe0", 6);
  cartella.scrivi("dati.bin", byte);
  EXPECT_EQ(disco.leggi(cartella.file("dati.bin")), byte);
}

TEST(LeggiFile, FileAssenteOCartellaDannoErroreFile) {
  CartellaTemporanea cartella;
  EXPECT_THROW(disco.leggi(cartella.file("assente.txt")), ErroreFile);
  std::filesystem::create_directory(cartella.file("cartella.txt"));
  EXPECT_THROW(disco.leggi(cartella.file("cartella.txt")), ErroreFile);
}

TEST(EliminaFile, EliminaEFallisceSeAssente) {
  CartellaTemporanea cartella;
  cartella.scrivi("x.txt", "x");
  disco.elimina(cartella.file("x.txt"));
  EXPECT_FALSE(disco.esiste(cartella.file("x.txt")));
  EXPECT_THROW(disco.elimina(cartella.file("x.txt")), ErroreFile);
}

TEST(ElencaCartella, SoloIFileInOrdineEUnaCartellaAssenteFallisce) {
  CartellaTemporanea cartella;
  cartella.scrivi("b.dat", "b");
  cartella.scrivi("a.sim", "a");
  std::filesystem::create_directory(cartella.file("sotto"));
  EXPECT_EQ(disco.elenca(cartella.percorso()), (std::vector<std::string>{"a.sim", "b.dat"}));
  EXPECT_THROW(disco.elenca(cartella.file("assente")), ErroreFile);
  EXPECT_THROW(disco.elenca(cartella.file("a.sim")), ErroreFile);
}

TEST(PercorsoIn, UnisceCartellaSeparatoreENome) {
  EXPECT_EQ(disco.percorso_in("/a/b", "c.txt"),
            std::string("/a/b") + separatore_percorso() + "c.txt");
}

}  // namespace
}  // namespace piattaforma
