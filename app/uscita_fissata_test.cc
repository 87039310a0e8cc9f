// The bytes of the built-in run, pinned: every file the program leaves is checked against the
// SHA-256 of the bytes it has always written, so that a change anywhere in the plan arithmetic,
// the pass or the texts fails here even when the sizes stay the same.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <map>
#include <string>

#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"

namespace {

std::string sha256(const std::string& byte) {
  unsigned char impronta[EVP_MAX_MD_SIZE];
  unsigned int lunghezza = 0;
  EXPECT_EQ(EVP_Digest(byte.data(), byte.size(), impronta, &lunghezza, EVP_sha256(), nullptr), 1);
  static constexpr char kCifre[] = "0123456789abcdef";
  std::string testo;
  for (unsigned int i = 0; i < lunghezza; ++i) {
    testo += kCifre[impronta[i] >> 4];
    testo += kCifre[impronta[i] & 0xf];
  }
  return testo;
}

const std::map<std::string, std::string> kImpronte = {
    {"Tavena_Crostia_4417.dat", "87511d33b1a3255d92727b68f452bb1cdb7bba84e3fd387d2a0da9767f5d6eb6"},
    {"Tavena_Crostia_4417.sim", "32860408c61cd9242d2c0330724c0399cec012bfa86e80d8b1161b30243eae19"},
    {"Tavena_Crostia_4417_note.txt",
     "934c796e1c95a305f2293e64242d048a01742dd088edae3ccf5d78ab94e2d0e7"},
    {"Tavena_Crostia_4417_rallentamenti.txt",
     "b8f318b1a3b1e72a15f9e90e549a2905e9a4dace806f46f02829334130b1a06e"},
    {"Tavena_Crostia_4417_scheda_treno.txt",
     "a503aa185d7f63792ba0318094af9cf6dd1b68afeb7514031e6446e5b6681692"},
    {"Tavena_Crostia_linea.dat",
     "37c170fdb6270699177a965e3896aaf8af6ed0596c4409ad1dbd2437b32873fc"},
};

TEST(UscitaFissata, LaCorsaIncorporataScriveIByteDiSempre) {
  EXPECT_EQ(sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const piattaforma::CartellaTemporanea cartella;
  const EsitoProcesso esito = esegui_processo(copia_eseguibile_in(cartella.percorso()));
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  piattaforma::DiscoReale disco;
  for (const auto& [nome, impronta] : kImpronte) {
    EXPECT_EQ(sha256(disco.leggi(cartella.file(nome))), impronta) << nome;
  }
}

}  // namespace
