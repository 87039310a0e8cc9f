#include "platform/sostituzione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"

namespace piattaforma {
namespace {

const std::string kNomi[] = {"piano.dat", "voci.sim", "celle.dat"};

bool e_temporaneo(const std::string& nome) {
  for (const std::string& finale : kNomi) {
    if (Disco::e_temporaneo_di(nome, finale)) {
      return true;
    }
  }
  return false;
}

// A failure at any single operation of a set leaves all three old files (the middle one
// absent before) or all three new ones, each whole. No temporary stays, but for a second name
// of an old file whose own removal was the operation that failed: the run's closing sweep
// takes that one.
TEST(Sostituzione, UnGuastoInOgniOperazioneLasciaTuttiIVecchiOTuttiINuovi) {
  const std::map<std::string, std::string> vecchi = {{"/c/piano.dat", "vecchio piano"},
                                                     {"/c/celle.dat", "vecchie celle"}};
  const std::map<std::string, std::string> nuovi = {{"/c/piano.dat", "nuovo piano, piu lungo"},
                                                    {"/c/voci.sim", "nuove voci"},
                                                    {"/c/celle.dat", "nuove"}};
  int rinomine_fallite = 0;
  for (int64_t guasto = 0;; ++guasto) {
    DiscoInMemoria disco;
    disco.file = vecchi;
    disco.registra = true;
    disco.guasto_all_operazione = guasto;
    bool fallita = false;
    try {
      Sostituzione insieme(disco);
      for (const std::string& nome : kNomi) {
        insieme.prepara("/c/" + nome, nuovi.at("/c/" + nome));
      }
      insieme.completa();
    } catch (const ErroreFile&) {
      fallita = true;
    }
    const bool guasto_avvenuto = guasto < disco.operazioni;
    const std::string operazione = guasto_avvenuto ? disco.registro[guasto] : "nessuna";
    std::map<std::string, std::string> finali;
    std::string rimasto;
    for (const auto& [percorso, contenuto] : disco.file) {
      if (e_temporaneo(percorso.substr(3))) {
        EXPECT_TRUE(rimasto.empty()) << "due temporanei, guasto a " << operazione;
        rimasto = percorso;
      } else {
        finali[percorso] = contenuto;
      }
    }
    if (!rimasto.empty()) {
      EXPECT_EQ(operazione, "eliminare " + rimasto) << "temporaneo rimasto: " << rimasto;
    }
    if (fallita) {
      EXPECT_EQ(finali, vecchi) << "guasto a " << operazione;
      rinomine_fallite += operazione.starts_with("rinominare") ? 1 : 0;
      continue;
    }
    EXPECT_EQ(finali, nuovi) << "guasto a " << operazione;
    if (!guasto_avvenuto) {
      break;
    }
  }
  // Three renames could fail; two of them after a rename that had to be undone.
  EXPECT_EQ(rinomine_fallite, 3);
}

TEST(Sostituzione, UnInsiemeNonCompletatoNonLasciaNulla) {
  DiscoInMemoria disco;
  disco.file["/c/piano.dat"] = "vecchio";
  {
    Sostituzione insieme(disco);
    insieme.prepara("/c/piano.dat", "nuovo");
    insieme.prepara("/c/voci.sim", "nuove");
  }
  EXPECT_EQ(disco.file, (std::map<std::string, std::string>{{"/c/piano.dat", "vecchio"}}));
}

// On the real disk: a folder standing at the last name makes its rename fail after the first
// two were renamed; both get their old content back, and nothing else is left.
TEST(Sostituzione, SulDiscoRealeUnaRinominaFallitaRimetteIVecchi) {
  CartellaTemporanea cartella;
  DiscoReale disco;
  cartella.scrivi("piano.dat", "vecchio piano");
  std::filesystem::create_directory(cartella.file("celle.dat"));
  try {
    Sostituzione insieme(disco);
    insieme.prepara(cartella.file("piano.dat"), "nuovo piano");
    insieme.prepara(cartella.file("voci.sim"), "nuove voci");
    insieme.prepara(cartella.file("celle.dat"), "nuove celle");
    insieme.completa();
    FAIL() << "nessun errore con una cartella al posto di celle.dat";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.operazione(), "sostituire");
    EXPECT_EQ(e.percorso(), cartella.file("celle.dat"));
  }
  EXPECT_EQ(cartella.leggi("piano.dat"), "vecchio piano");
  EXPECT_FALSE(cartella.esiste("voci.sim"));
  EXPECT_TRUE(std::filesystem::is_directory(cartella.file("celle.dat")));
  EXPECT_EQ(cartella.nomi(), (std::vector<std::string>{"celle.dat", "piano.dat"}));
}

}  // namespace
}  // namespace piattaforma
