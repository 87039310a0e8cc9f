// The program as its users start it: a copy of the executable in a folder of its own, where it
// writes its files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/form_load.h"
#include "generati/versione.h"
#include "platform/disco.h"
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
  Contenuti file = cartella.contenuti();
  file.erase("genera_scenario");
  return file;
}

// Whether `nome` is a temporary name of one of the run's files.
bool e_temporaneo(const std::string& nome) {
  return std::any_of(kFileInOrdine.begin(), kFileInOrdine.end(), [&](const std::string& finale) {
    return piattaforma::Disco::e_temporaneo_di(nome, finale);
  });
}

// Waits until process `pid` is queued for a lock that another holds, as the system's table of
// locks shows it; false if the process ended first or a minute went by.
bool aspetta_in_coda(pid_t pid) {
  for (int prova = 0; prova < 6000; ++prova) {
    std::ifstream tabella("/proc/locks");
    std::string riga;
    while (std::getline(tabella, riga)) {
      std::istringstream campi(riga);
      std::string campo;
      bool in_coda = false;
      while (campi >> campo) {
        in_coda = in_coda || campo == "->";
        if (in_coda && campo == std::to_string(pid)) {
          return true;
        }
      }
    }
    if (::kill(pid, 0) != 0) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
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

// Its version alone on the command line: one line on standard output, no wait window (its
// line on a console), no file, status 0. Any other command line is a run, as it always was.
TEST(GeneraScenario, LaVersioneSolaNonScriveNulla) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  const EsitoProcesso esito = esegui_con_argomenti(eseguibile, {"--version"});
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.uscita, riga_della_versione("genera_scenario") + "\n");
  EXPECT_EQ(esito.errori, "");
  EXPECT_EQ(cartella.nomi(), std::vector<std::string>{"genera_scenario"});
}

TEST(GeneraScenario, AltriArgomentiSonoUnaCorsa) {
  for (const std::vector<std::string>& argomenti :
       {std::vector<std::string>{"--version", "--version"}, {"--help"}, {"versione"}}) {
    CartellaTemporanea cartella;
    const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
    const EsitoProcesso esito = esegui_con_argomenti(eseguibile, argomenti);
    EXPECT_EQ(esito.stato, 0) << argomenti[0] << ": " << esito.errori;
    EXPECT_EQ(esito.uscita, "Attendere\n") << argomenti[0];
    EXPECT_EQ(file_in(cartella).size(), 6u) << argomenti[0];
  }
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
// report and status 2: the files replaced before are complete, the later jobs do not run, and
// the three binary files come as a set: none of them is written when one cannot be.
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
    size_t trovati = 0;
    for (size_t i = 0; i < kFileInOrdine.size(); ++i) {
      const std::string& nome = kFileInOrdine[i];
      // Once the compile has run, the sources are gone.
      const bool compilato = bloccato >= kTesti;
      const bool atteso = i < kTesti && i < bloccato && (i >= kSorgenti || !compilato);
      const auto trovato = scritti.find(nome);
      if (atteso) {
        ASSERT_NE(trovato, scritti.end()) << nome << " mancante, bloccato " << nome_bloccato;
        EXPECT_TRUE(trovato->second == attesi.at(nome)) << nome << ", bloccato " << nome_bloccato;
        ++trovati;
      } else {
        EXPECT_EQ(trovato, scritti.end()) << nome << " scritto, bloccato " << nome_bloccato;
      }
    }
    EXPECT_EQ(scritti.size(), trovati) << "file in piu, bloccato " << nome_bloccato;
  }
}

// A run that cannot write a file whole (the plan file is larger than the limit) ends with
// status 2 and leaves the folder exactly as the good run before it left it.
TEST(GeneraScenario, UnDiscoPienoLasciaIFileDellaCorsaPrecedente) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  const Contenuti prima = file_in(cartella);
  ASSERT_EQ(prima.size(), 6u);
  const EsitoProcesso esito = esegui_processo(eseguibile, 1 << 20);
  EXPECT_EQ(esito.stato, 2);
  EXPECT_EQ(std::count(esito.errori.begin(), esito.errori.end(), '\n'), 1) << esito.errori;
  EXPECT_NE(esito.errori.find("impossibile scrivere " + cartella.file("Tavena_Crostia_linea.dat")),
            std::string::npos)
      << esito.errori;
  EXPECT_NE(esito.errori.find("File too large"), std::string::npos) << esito.errori;
  EXPECT_TRUE(file_in(cartella) == prima);
  EXPECT_EQ(cartella.nomi().size(), 7u) << "only the six files and the program";
}

// A run killed at any moment leaves each file whole: every name holds the bytes of a good run
// (the run before, or this one), the temporary files it could not remove aside. The next run
// removes them and leaves the usual six files.
TEST(GeneraScenario, UnaCorsaUccisaInQualunquePuntoNonLasciaFileTagliati) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  const Contenuti& attesi = riferimento();
  const auto inizio = std::chrono::steady_clock::now();
  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  const auto durata = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - inizio);

  // One kill in each of kPunti equal slices of the run, at a random moment of its slice.
  constexpr int kPunti = 40;
  std::mt19937 caso(20261210);
  std::uniform_real_distribution<double> nella_fetta(0.0, 1.0);
  int uccise = 0;
  int temporanei_visti = 0;
  for (int punto = 0; punto < kPunti; ++punto) {
    const auto ritardo = std::chrono::microseconds(static_cast<int64_t>(
        static_cast<double>(durata.count()) * (punto + nella_fetta(caso)) / kPunti));
    const EsitoProcesso esito = esegui_e_uccidi(eseguibile, ritardo);
    if (esito.stato == 128 + SIGKILL) {
      ++uccise;
    } else {
      EXPECT_EQ(esito.stato, 0) << esito.errori;
    }
    for (const std::string& nome : cartella.nomi()) {
      if (nome == "genera_scenario") {
        continue;
      }
      if (e_temporaneo(nome)) {
        ++temporanei_visti;
        continue;
      }
      const auto atteso = attesi.find(nome);
      ASSERT_NE(atteso, attesi.end()) << "file estraneo " << nome << " al punto " << punto;
      EXPECT_TRUE(cartella.leggi(nome) == atteso->second)
          << nome << " non e intero al punto " << punto << " di " << kPunti;
    }
  }
  // The kills are spread over one run's length: most of them must have met a run under way.
  EXPECT_GE(uccise, kPunti / 4);
  std::cout << uccise << " corse uccise su " << kPunti << ", " << temporanei_visti
            << " file temporanei trovati dopo\n";

  ASSERT_EQ(esegui_processo(eseguibile).stato, 0);
  Contenuti finali = attesi;
  for (size_t i = 0; i < kSorgenti; ++i) {
    finali.erase(kFileInOrdine[i]);
  }
  EXPECT_TRUE(file_in(cartella) == finali);
  EXPECT_EQ(cartella.nomi().size(), 7u) << "only the six files and the program";
}

// Runs started at the same moment in one folder take turns: each does its whole job, and the
// folder holds what one clean run leaves.
TEST(GeneraScenario, CorseInsiemeNellaStessaCartellaSiAspettano) {
  Contenuti attesi = riferimento();
  for (size_t i = 0; i < kSorgenti; ++i) {
    attesi.erase(kFileInOrdine[i]);
  }
  for (const int quante : {2, 4}) {
    for (int ripetizione = 0; ripetizione < 10; ++ripetizione) {
      CartellaTemporanea cartella;
      const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
      for (const EsitoProcesso& esito : esegui_insieme(eseguibile, quante)) {
        EXPECT_EQ(esito.stato, 0) << quante << " insieme: " << esito.errori;
        EXPECT_EQ(esito.uscita, "Attendere\n");
      }
      EXPECT_TRUE(file_in(cartella) == attesi) << quante << " insieme, ripetizione " << ripetizione;
      EXPECT_EQ(cartella.nomi().size(), 7u) << quante << " insieme, ripetizione " << ripetizione;
    }
  }
}

// The lock that a run waits for lies on the folder itself: while something else holds it, a
// run started there waits without writing anything, and does its whole job once it is free.
TEST(GeneraScenario, UnaCorsaAspettaChiTieneLaCartellaPrimaDiScrivere) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  const int presa = ::open(cartella.percorso().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(presa, 0);
  ASSERT_EQ(::flock(presa, LOCK_EX), 0);
  ProcessoAvviato corsa(eseguibile);
  ASSERT_TRUE(aspetta_in_coda(corsa.pid())) << "the run never asked for the folder's lock";
  EXPECT_EQ(cartella.nomi(), std::vector<std::string>{"genera_scenario"});
  ::close(presa);
  const EsitoProcesso esito = corsa.attendi();
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(cartella.nomi().size(), 7u);
}

}  // namespace
