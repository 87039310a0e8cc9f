#include "platform/disco_reale.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
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
  EXPECT_EQ(cartella.nomi(), std::vector<std::string>{"nuovo.txt"});
}

TEST(RicreaFile, SostituisceContenutoPiuLungo) {
  CartellaTemporanea cartella;
  cartella.scrivi("vecchio.txt", "contenuto vecchio e molto piu lungo");
  disco.ricrea(cartella.file("vecchio.txt"), "nuovo");
  EXPECT_EQ(cartella.leggi("vecchio.txt"), "nuovo");
  EXPECT_EQ(cartella.nomi(), std::vector<std::string>{"vecchio.txt"});
}

TEST(RicreaFile, ContenutoVuotoLasciaUnFileVuoto) {
  CartellaTemporanea cartella;
  cartella.scrivi("vuoto.txt", "qualcosa");
  disco.ricrea(cartella.file("vuoto.txt"), "");
  EXPECT_TRUE(cartella.esiste("vuoto.txt"));
  EXPECT_EQ(cartella.leggi("vuoto.txt"), "");
}

// The old file is never opened for writing: a reader that holds it open keeps reading the
// old content whole while the new one takes its name.
TEST(RicreaFile, UnLettoreDelVecchioFileLoLeggeIntero) {
  CartellaTemporanea cartella;
  cartella.scrivi("dati.dat", "vecchio contenuto");
  const int lettore = ::open(cartella.file("dati.dat").c_str(), O_RDONLY);
  ASSERT_GE(lettore, 0);
  disco.ricrea(cartella.file("dati.dat"), "nuovo");
  char letti[64] = {};
  const ssize_t n = ::read(lettore, letti, sizeof letti);
  ::close(lettore);
  EXPECT_EQ(std::string(letti, static_cast<size_t>(std::max<ssize_t>(n, 0))), "vecchio contenuto");
  EXPECT_EQ(cartella.leggi("dati.dat"), "nuovo");
}

TEST(RicreaFile, UnaCartellaAlPostoDelFileDaUnErroreCheNominaOperazionePercorsoEMotivo) {
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file("occupato.txt"));
  try {
    disco.ricrea(cartella.file("occupato.txt"), "x");
    FAIL() << "nessun errore per una cartella al posto del file";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "sostituire");
    EXPECT_EQ(e.percorso(), cartella.file("occupato.txt"));
    EXPECT_EQ(e.motivo(), "Is a directory");
    EXPECT_NE(std::string(e.what()).find(cartella.file("occupato.txt")), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_directory(cartella.file("occupato.txt")));
  EXPECT_EQ(cartella.nomi(), std::vector<std::string>{"occupato.txt"});
}

TEST(ScriviNuovo, NonToccaUnFileCheEsisteGia) {
  CartellaTemporanea cartella;
  cartella.scrivi("a.txt", "vecchio");
  try {
    disco.scrivi_nuovo(cartella.file("a.txt"), "nuovo");
    FAIL() << "un file esistente e stato riscritto";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "creare");
    EXPECT_EQ(e.motivo(), "File exists");
  }
  EXPECT_EQ(cartella.leggi("a.txt"), "vecchio");
}

// A second name keeps the old content after a new file has been renamed over the first.
TEST(Collega, IlSecondoNomeTieneIlVecchioContenuto) {
  CartellaTemporanea cartella;
  cartella.scrivi("a.dat", "vecchio");
  cartella.scrivi("t.dat", "nuovo");
  disco.collega(cartella.file("a.dat"), cartella.file("copia.dat"));
  disco.rinomina(cartella.file("t.dat"), cartella.file("a.dat"));
  EXPECT_EQ(cartella.leggi("a.dat"), "nuovo");
  EXPECT_EQ(cartella.leggi("copia.dat"), "vecchio");
  EXPECT_THROW(disco.collega(cartella.file("a.dat"), cartella.file("copia.dat")), ErroreFile);
  EXPECT_THROW(disco.collega(cartella.file("assente.dat"), cartella.file("b.dat")), ErroreFile);
}

// Only the files, sorted; a folder inside is left out.
TEST(Elenca, DaINomiSenzaLaCartellaEFallisceSenzaCartella) {
  CartellaTemporanea cartella;
  cartella.scrivi("a.txt", "a");
  std::filesystem::create_directory(cartella.file("sotto"));
  cartella.scrivi("sotto/b.txt", "b");
  cartella.scrivi("0.txt", "0");
  EXPECT_EQ(disco.elenca(cartella.percorso()), (std::vector<std::string>{"0.txt", "a.txt"}));
  EXPECT_THROW(disco.elenca(cartella.file("assente")), ErroreFile);
}

// Whether another holder has the folder: a lock of its own, asked for without waiting.
bool bloccata_da_altri(const std::string& cartella) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
  EXPECT_GE(fd, 0);
  const bool occupata = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return occupata;
}

TEST(Blocca, TieneLaCartellaFinoAllaFineDellaPresaSenzaLasciareFile) {
  CartellaTemporanea cartella;
  EXPECT_FALSE(bloccata_da_altri(cartella.percorso()));
  {
    const auto presa = disco.blocca(cartella.percorso());
    EXPECT_TRUE(bloccata_da_altri(cartella.percorso()));
  }
  EXPECT_FALSE(bloccata_da_altri(cartella.percorso()));
  EXPECT_TRUE(cartella.nomi().empty());
}

TEST(Blocca, UnaCartellaCheNonCeDaErroreFile) {
  CartellaTemporanea cartella;
  try {
    disco.blocca(cartella.file("assente"));
    FAIL() << "bloccata una cartella che non esiste";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "bloccare");
    EXPECT_EQ(e.percorso(), cartella.file("assente"));
  }
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
#ifdef _WIN32
  EXPECT_EQ(disco.percorso_in("/a/b", "c.txt"), "/a/b\\c.txt");
#else
  EXPECT_EQ(disco.percorso_in("/a/b", "c.txt"), "/a/b/c.txt");
#endif
}

}  // namespace
}  // namespace piattaforma
