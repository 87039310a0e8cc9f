#include "app/form_load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "compiler/scrivi_binario.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

using piattaforma::CartellaTemporanea;

piattaforma::DiscoReale disco;

// The text files in the order their jobs run.
const std::vector<std::string> kTestiInOrdine = {
    "Tavena_Crostia_linea.txt",
    "Tavena_Crostia_4417-.txt",
    "Tavena_Crostia_4417_note.txt",
    "Tavena_Crostia_4417_rallentamenti.txt",
    "Tavena_Crostia_4417_scheda_treno.txt",
};

// A folder standing where one file should be stops the run at that file's job: the report
// names the file, the jobs before it have written theirs and the jobs after it do not run.
TEST(FormLoad, IlavoriGiranoInOrdineEDannoINomiAttesi) {
  for (size_t bloccato = 0; bloccato < kTestiInOrdine.size(); ++bloccato) {
    CartellaTemporanea cartella;
    std::filesystem::create_directory(cartella.file(kTestiInOrdine[bloccato]));
    Scenario s;
    try {
      Form_Load(s, disco, cartella.percorso());
      ADD_FAILURE() << "nessun errore con " << kTestiInOrdine[bloccato] << " bloccato";
    } catch (const piattaforma::ErroreFile& e) {
      EXPECT_EQ(e.percorso(), cartella.file(kTestiInOrdine[bloccato]));
    }
    for (size_t i = 0; i < kTestiInOrdine.size(); ++i) {
      if (i < bloccato) {
        EXPECT_TRUE(std::filesystem::is_regular_file(cartella.file(kTestiInOrdine[i])))
            << kTestiInOrdine[i] << " mancante con " << kTestiInOrdine[bloccato] << " bloccato";
      } else if (i > bloccato) {
        EXPECT_FALSE(cartella.esiste(kTestiInOrdine[i]))
            << kTestiInOrdine[i] << " scritto con " << kTestiInOrdine[bloccato] << " bloccato";
      }
    }
  }
}

// The built-in scenario compiles cleanly: no conflict in any recorder, every station within
// the limits, room for every automatic speed point.
TEST(FormLoad, LoScenarioIncorporatoSiCompilaSenzaErrori) {
  CartellaTemporanea cartella;
  Scenario s;
  Form_Load(s, disco, cartella.percorso());
  EXPECT_EQ(s.nome_scenario, "Tavena_Crostia");
  EXPECT_EQ(s.numero_treno, "4417");
  EXPECT_EQ(s.con_tracciato, 1);
  EXPECT_EQ(s.codice_errore, 0) << "posizione " << s.posizione_errore;
  EXPECT_EQ(s.ultima_cella, 2160);
  EXPECT_EQ(std::filesystem::file_size(cartella.file("Tavena_Crostia_4417.dat")), 32415u);
  EXPECT_EQ(std::filesystem::file_size(cartella.file("Tavena_Crostia_linea.dat")), 2159964u);
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_linea.txt"));
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_4417-.txt"));
}

using Cartella = std::map<std::string, std::string>;

constexpr char kCartella[] = "/corsa";

std::string in_cartella(const std::string& nome) {
  return std::string(kCartella) + "/" + nome;
}

// The files a good run leaves, by full path, on a disk in memory.
Cartella corsa_buona() {
  piattaforma::DiscoInMemoria memoria;
  Scenario s;
  Form_Load(s, memoria, kCartella);
  return memoria.file;
}

// What the run under test writes into each of its eight files: the texts, and the images of
// the model it was left with (the same as a good run's unless its parse was cut short).
Cartella nuovi_di(Scenario& s) {
  return {{in_cartella("Tavena_Crostia_linea.txt"), testo_delle_righe(dati_linea())},
          {in_cartella("Tavena_Crostia_4417-.txt"), testo_delle_righe(dati_treno())},
          {in_cartella("Tavena_Crostia_4417_note.txt"), testo_delle_righe(dati_note())},
          {in_cartella("Tavena_Crostia_4417_rallentamenti.txt"),
           testo_delle_righe(dati_rallentamenti())},
          {in_cartella("Tavena_Crostia_4417_scheda_treno.txt"), testo_delle_righe(dati_scheda())},
          {in_cartella("Tavena_Crostia_linea.dat"), std::string(immagine_tracciato(s.tracciato))},
          {in_cartella("Tavena_Crostia_4417.sim"), immagine_voci(s.voci)},
          {in_cartella("Tavena_Crostia_4417.dat"), immagine_percorso(s.percorso)}};
}

const std::vector<std::string> kBinari = {in_cartella("Tavena_Crostia_linea.dat"),
                                          in_cartella("Tavena_Crostia_4417.sim"),
                                          in_cartella("Tavena_Crostia_4417.dat")};

// A failure at every single file operation of a run in turn, in a folder that a run before
// filled: afterwards each of the run's files holds its whole old content or its whole new
// content (the three binary files all the one or all the other), nothing else is in the folder,
// no temporary file is left, and the folder is free again. Once the failure comes after the
// last operation the run succeeds with a good run's files.
TEST(FormLoad, UnGuastoInOgniOperazioneNonLasciaFileTagliatiNeMisti) {
  const Cartella buona = corsa_buona();
  ASSERT_EQ(buona.size(), 6u);
  // The run before wrote either the same bytes, or (a run of another version) other ones.
  Cartella diversa;
  for (const auto& [percorso, contenuto] : buona) {
    diversa[percorso] = "vecchio " + percorso;
  }
  for (const bool diversi : {false, true}) {
    const Cartella& prima = diversi ? diversa : buona;
    int fallite = 0;
    for (int64_t guasto = 0;; ++guasto) {
      piattaforma::DiscoInMemoria memoria;
      memoria.file = prima;
      memoria.registra = true;
      memoria.guasto_all_operazione = guasto;
      Scenario s;
      bool fallita = false;
      try {
        Form_Load(s, memoria, kCartella);
      } catch (const piattaforma::ErroreFile&) {
        fallita = true;
        ++fallite;
      }
      const std::string dove =
          (guasto < memoria.operazioni ? memoria.registro[guasto] : std::string("nessun guasto")) +
          (diversi ? ", file vecchi diversi" : ", file vecchi uguali");
      const Cartella nuovi = nuovi_di(s);
      for (const auto& [percorso, contenuto] : memoria.file) {
        const auto vecchio = prima.find(percorso);
        const auto nuovo = nuovi.find(percorso);
        ASSERT_NE(nuovo, nuovi.end()) << "file estraneo " << percorso << ", guasto a " << dove;
        EXPECT_TRUE(contenuto == nuovo->second ||
                    (vecchio != prima.end() && contenuto == vecchio->second))
            << percorso << " ne vecchio ne nuovo, guasto a " << dove;
      }
      for (const auto& [percorso, contenuto] : prima) {
        EXPECT_TRUE(memoria.file.contains(percorso)) << percorso << " perso, guasto a " << dove;
      }
      int binari_nuovi = 0;
      for (const std::string& b : kBinari) {
        binari_nuovi += memoria.file.at(b) == nuovi.at(b) ? 1 : 0;
      }
      if (diversi) {
        EXPECT_TRUE(binari_nuovi == 0 || binari_nuovi == 3)
            << binari_nuovi << " file binari nuovi su 3, guasto a " << dove;
      }
      EXPECT_TRUE(memoria.cartelle_bloccate.empty())
          << "cartella ancora bloccata, guasto a " << dove;
      if (guasto >= memoria.operazioni) {
        EXPECT_FALSE(fallita);
        EXPECT_EQ(s.codice_errore, 0);
        EXPECT_TRUE(memoria.file == buona);
        break;
      }
    }
    // Most operations are the run's own writes; only a failed read or deletion of a source
    // ends up as the parser's code 25, and a failed removal of a second name is retried.
    EXPECT_GE(fallite, 15) << (diversi ? "file vecchi diversi" : "file vecchi uguali");
  }
}

}  // namespace
