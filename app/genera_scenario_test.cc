// The program as its users start it: a copy of the executable in a folder of its own, where it
// writes its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

using piattaforma::CartellaTemporanea;

// The eight files of a run, in the order the jobs write them.
const std::vector<std::string> kFileInOrdine = {
    "Tavena_Crostia_linea.txt",
    "Tavena_Crostia_4417-.txt",
    "Tavena_Crostia_4417_note.txt",
    "Tavena_Crostia_4417_rallentamenti.txt",
    "Tavena_Crostia_4417_scheda_treno.txt",
    "Tavena_Crostia_linea.dat",
    "Tavena_Crostia_4417.sim",
    "Tavena_Crostia_4417.dat",
};
constexpr size_t kSorgenti = 2;  // the first two are read back and deleted by the compile
constexpr size_t kTesti = 5;     // the text files come before the compile

using Contenuti = std::map<std::string, std::string>;

// The files in a folder, by name, except the executable.
Contenuti file_in(const CartellaTemporanea& cartella) {
  Contenuti file;
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
    const std::string nome = voce.path().filename().string();
    if (nome != "genera_scenario" && voce.is_regular_file()) {
      file[nome] = cartella.leggi(nome);
    }
  }
  return file;
}

// What a clean run writes: the six files it leaves, and the two sources it wrote on the way.
const Contenuti& riferimento() {
  static const Contenuti contenuti = [] {
    CartellaTemporanea cartella;
    const EsitoProcesso esito = esegui_processo(copia_eseguibile_in(cartella.percorso()));
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    Contenuti file = file_in(cartella);
    file[kFileInOrdine[0]] = testo_delle_righe(dati_linea());
    file[kFileInOrdine[1]] = testo_delle_righe(dati_treno());
    return file;
  }();
  return contenuti;
}

TEST(GeneraScenario, UnaCorsaLasciaSeiFileEStampaSoloAttendere) {
  CartellaTemporanea cartella;
  const EsitoProcesso esito = esegui_processo(copia_eseguibile_in(cartella.percorso()));
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.uscita, "Attendere\n");
  EXPECT_EQ(esito.errori, "");
  std::vector<std::string> nomi;
  for (const auto& [nome, contenuto] : file_in(cartella)) {
    nomi.push_back(nome);
    EXPECT_FALSE(contenuto.empty()) << nome;
  }
  EXPECT_EQ(nomi, (std::vector<std::string>{
                      "Tavena_Crostia_4417.dat", "Tavena_Crostia_4417.sim",
                      "Tavena_Crostia_4417_note.txt", "Tavena_Crostia_4417_rallentamenti.txt",
                      "Tavena_Crostia_4417_scheda_treno.txt", "Tavena_Crostia_linea.dat"}));
}

TEST(GeneraScenario, DueCorseDannoGliStessiByte) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  const Contenuti prima = file_in(cartella);
  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  EXPECT_TRUE(file_in(cartella) == prima);
  Contenuti attesi = riferimento();
  for (size_t i = 0; i < kSorgenti; ++i) {
    attesi.erase(kFileInOrdine[i]);
  }
  EXPECT_TRUE(prima == attesi) << "a run in another folder wrote other bytes";
}

TEST(GeneraScenario, FileDiUnaCorsaPrecedentePiuLunghiSonoSostituitiInteri) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  for (const std::string& nome : kFileInOrdine) {
    cartella.scrivi(nome, std::string(3000000, 'x'));
  }
  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  Contenuti attesi = riferimento();
  for (size_t i = 0; i < kSorgenti; ++i) {
    attesi.erase(kFileInOrdine[i]);
  }
  EXPECT_TRUE(file_in(cartella) == attesi);
}

// A folder standing where one file should be stops the run at that file's job with a one-line
// report and status 2: the files written before are complete, the later jobs do not run.
TEST(GeneraScenario, UnaCartellaAlPostoDiUnFileFermaLaCorsaLi) {
  const Contenuti& attesi = riferimento();
  for (size_t bloccato = 0; bloccato < kFileInOrdine.size(); ++bloccato) {
    const std::string& nome_bloccato = kFileInOrdine[bloccato];
    CartellaTemporanea cartella;
    const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
    std::filesystem::create_directory(cartella.file(nome_bloccato));
    const EsitoProcesso esito = esegui_processo(eseguibile);
    EXPECT_EQ(esito.stato, 2) << nome_bloccato;
    EXPECT_EQ(std::count(esito.errori.begin(), esito.errori.end(), '\n'), 1) << esito.errori;
    EXPECT_NE(esito.errori.find(cartella.file(nome_bloccato)), std::string::npos) << esito.errori;
    EXPECT_NE(esito.errori.find("Is a directory"), std::string::npos) << esito.errori;
    const Contenuti scritti = file_in(cartella);
    for (size_t i = 0; i < kFileInOrdine.size(); ++i) {
      const std::string& nome = kFileInOrdine[i];
      // Once the compile has run, the sources are gone.
      const bool compilato = bloccato >= kTesti;
      const bool atteso = i < bloccato && (i >= kSorgenti || !compilato);
      const auto trovato = scritti.find(nome);
      if (atteso) {
        ASSERT_NE(trovato, scritti.end()) << nome << " mancante, bloccato " << nome_bloccato;
        EXPECT_TRUE(trovato->second == attesi.at(nome)) << nome << ", bloccato " << nome_bloccato;
      } else {
        EXPECT_EQ(trovato, scritti.end()) << nome << " scritto, bloccato " << nome_bloccato;
      }
    }
  }
}

TEST(GeneraScenario, DiscoPienoNonEUnSuccesso) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  // Room for every text file but not for the plan file.
  const EsitoProcesso esito = esegui_processo(eseguibile, 1000000);
  EXPECT_EQ(esito.stato, 2);
  EXPECT_NE(esito.errori.find(cartella.file("Tavena_Crostia_linea.dat")), std::string::npos)
      << esito.errori;
  EXPECT_NE(esito.errori.find("scrivere"), std::string::npos) << esito.errori;
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_4417.sim"));
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_4417.dat"));
  EXPECT_TRUE(cartella.leggi("Tavena_Crostia_4417_scheda_treno.txt") ==
              riferimento().at("Tavena_Crostia_4417_scheda_treno.txt"));
}

}  // namespace
