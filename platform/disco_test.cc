// What every disk shares: temporary names, the sweep of those a killed run left, and the
// replacement of one file. Run over the disk in memory.
#include "platform/disco.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/disco_in_memoria.h"

namespace piattaforma {
namespace {

TEST(NomeTemporaneo, AccantoAlFileSempreDiversoERiconoscibile) {
  DiscoInMemoria disco;
  disco.processo = 4242;
  std::set<std::string> visti;
  for (int i = 0; i < 3; ++i) {
    const std::string nome = disco.nome_temporaneo("/c/a.txt");
    EXPECT_TRUE(nome.starts_with("/c/a.txt.tmp-4242-")) << nome;
    EXPECT_TRUE(Disco::e_temporaneo_di(nome.substr(3), "a.txt")) << nome;
    EXPECT_TRUE(visti.insert(nome).second) << nome;
  }
}

TEST(NomeTemporaneo, SoloIlModelloEsattoEUnTemporaneoDelFile) {
  struct Caso {
    const char* nome;
    bool temporaneo;
  };
  const Caso casi[] = {
      {"a.txt.tmp-12-3", true},  {"a.txt.tmp-0-0", true},     {"a.txt", false},
      {"a.txt.tmp-12", false},   {"a.txt.tmp-12-", false},    {"a.txt.tmp--3", false},
      {"a.txt.tmp-1x-3", false}, {"a.txt.tmp-12-3-4", false}, {"a.txt.tmp-12-3.bak", false},
      {"ba.txt.tmp-1-1", false}, {"a.txt.tmp1-1", false},     {"a.txt.TMP-1-1", false},
      {"a.txt.tmp-1-1 ", false},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(Disco::e_temporaneo_di(c.nome, "a.txt"), c.temporaneo) << c.nome;
  }
}

TEST(EliminaTemporanei, ToglieSoloITemporaneiDeiFileNominati) {
  DiscoInMemoria disco;
  for (const char* nome : {"a.txt", "a.txt.tmp-12-3", "a.txt.tmp-7-0", "a.txt.tmp-12", "b.dat",
                           "b.dat.tmp-1-1", "c.txt.tmp-1-1", "sotto/a.txt.tmp-1-1"}) {
    disco.file[std::string("/c/") + nome] = "x";
  }
  disco.file["/altra/a.txt.tmp-1-1"] = "x";
  const std::string nomi[] = {"a.txt", "b.dat"};
  disco.elimina_temporanei("/c", nomi);
  std::set<std::string> rimasti;
  for (const auto& [percorso, contenuto] : disco.file) {
    rimasti.insert(percorso);
  }
  EXPECT_EQ(rimasti,
            (std::set<std::string>{"/altra/a.txt.tmp-1-1", "/c/a.txt", "/c/a.txt.tmp-12",
                                   "/c/b.dat", "/c/c.txt.tmp-1-1", "/c/sotto/a.txt.tmp-1-1"}));
}

// A failure at any operation of a replacement leaves the old file, or none, and no temporary.
TEST(Ricrea, UnGuastoInOgniOperazioneLasciaIlVecchioFileESoloQuello) {
  for (const bool c_era : {true, false}) {
    for (int64_t guasto = 0;; ++guasto) {
      DiscoInMemoria disco;
      if (c_era) {
        disco.file["/c/a.txt"] = "vecchio e piu lungo";
      }
      disco.guasto_all_operazione = guasto;
      try {
        disco.ricrea("/c/a.txt", "nuovo");
      } catch (const ErroreFile&) {
        if (c_era) {
          EXPECT_EQ(disco.file,
                    (std::map<std::string, std::string>{{"/c/a.txt", "vecchio e piu lungo"}}))
              << "guasto " << guasto;
        } else {
          EXPECT_TRUE(disco.file.empty()) << "guasto " << guasto;
        }
        continue;
      }
      EXPECT_EQ(disco.file, (std::map<std::string, std::string>{{"/c/a.txt", "nuovo"}}));
      EXPECT_EQ(guasto, 2) << "a replacement is one write and one rename";
      break;
    }
  }
}

}  // namespace
}  // namespace piattaforma
