#include "compiler/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "compiler/errore.h"
#include "compiler/scrivi_binario.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"

namespace {

// These tests look at the files a compile leaves in a real folder.
piattaforma::DiscoReale disco;

using piattaforma::CartellaTemporanea;

const std::string kPiano = "Tavena_Crostia_linea.dat";
const std::string kVoci = "Tavena_Crostia_4417.sim";
const std::string kPercorso = "Tavena_Crostia_4417.dat";

std::set<std::string> file_in(const CartellaTemporanea& cartella) {
  std::set<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
    nomi.insert(voce.path().filename().string());
  }
  return nomi;
}

// Binary files of an earlier run, which a run that writes none must leave as they are.
void scrivi_file_vecchi(const CartellaTemporanea& cartella) {
  for (const std::string& nome : {kPiano, kVoci, kPercorso}) {
    cartella.scrivi(nome, "vecchio " + nome);
  }
}

void verifica_file_vecchi(const CartellaTemporanea& cartella, const std::string& caso) {
  EXPECT_EQ(file_in(cartella), (std::set<std::string>{kPiano, kVoci, kPercorso})) << caso;
  for (const std::string& nome : {kPiano, kVoci, kPercorso}) {
    EXPECT_EQ(cartella.leggi(nome), "vecchio " + nome) << caso;
  }
}

// The model as the parser would leave it: identity texts in entries 85 and 86, a track of
// 31 cells with a slow-down from cell 20 to cell 22 at 60 km/h, a plan of four points.
Scenario letto() {
  Scenario s;
  s.nome_scenario = "Tavena_Crostia";
  s.numero_treno = "4417";
  s.con_tracciato = 1;
  s.voci[kVoceScenario].testo = s.nome_scenario;
  s.voci[kVoceRipetizione].testo = s.numero_treno;
  s.ultima_cella = 30;
  s.percorso.resize(31);
  s.percorso[20] = Cella{.genere = kInizioRallentamento, .valore_1 = 60};
  s.percorso[22] = Cella{.genere = kFineRallentamento, .valore_1 = 60};
  s.tracciato.crea(3);
  s.tracciato.imposta_intero(0, 0, 0);
  s.tracciato.imposta_intero(1, 0, 0);
  s.tracciato.imposta_intero(0, 1, 0);
  s.tracciato.imposta_intero(1, 1, 1);
  return s;
}

TEST(MemorizzaPercorso, SvuotaTutteLeVociCompresaLaZero) {
  CartellaTemporanea cartella;
  Scenario s;
  for (Voce& v : s.voci) {
    v.categoria = 3;
    v.testo = "vecchio";
    v.orario = 99;
    v.dato_5 = -1;
  }
  s.codice_errore = 15;
  memorizza_percorso(s, disco, cartella.percorso(), 1);
  for (size_t i = 0; i < s.voci.size(); ++i) {
    if (i == kVoceScenario || i == kVoceRipetizione) {
      continue;  // the parser puts the identity texts here
    }
    EXPECT_EQ(s.voci[i], Voce{}) << "voce " << i;
  }
  EXPECT_EQ(s.con_tracciato, 1);
}

TEST(MemorizzaPercorso, SenzaPercorsoNessunFileBinario) {
  CartellaTemporanea cartella;
  scrivi_file_vecchi(cartella);
  Scenario s;
  s.nome_scenario = "Tavena_Crostia";
  s.numero_treno = "4417";
  memorizza_percorso(s, disco, cartella.percorso(), 1);  // no line source: code 101
  EXPECT_EQ(s.codice_errore, 101);
  EXPECT_TRUE(s.percorso.empty());
  verifica_file_vecchi(cartella, "senza percorso");
}

// The files are the images of the model after the pass and the stamps, and an error state
// left by the parser neither stops them nor shows in them.
TEST(CompletaPercorso, PassataTimbriEPoiITreFile) {
  CartellaTemporanea cartella;
  Scenario s = letto();
  s.codice_errore = 15;
  s.posizione_errore = 1234;
  completa_percorso(s, disco, cartella.percorso());

  EXPECT_EQ(s.codice_errore, 15);
  EXPECT_EQ(s.posizione_errore, 1234);
  ASSERT_EQ(file_in(cartella), (std::set<std::string>{kPiano, kVoci, kPercorso}));
  EXPECT_EQ(cartella.leggi(kPiano), immagine_tracciato(s.tracciato));
  EXPECT_EQ(cartella.leggi(kVoci), immagine_voci(s.voci));
  const std::string percorso = cartella.leggi(kPercorso);
  EXPECT_EQ(percorso, immagine_percorso(s.percorso));
  ASSERT_EQ(percorso.size(), 31u * 15u);
  EXPECT_EQ(percorso.substr(16, 2), "\x01\x14");        // 5121
  const std::string punto_a_180("\x0C\xB4\x00", 3);     // kind 12, speed 180
  EXPECT_EQ(percorso.substr(15 * 15, 3), punto_a_180);  // 250 to 350 m before the start
  EXPECT_EQ(percorso.substr(9 * 15, 3), punto_a_180);   // 550 to 650 m before
  EXPECT_EQ(s.voci[kVoceScenario].dato_1, 610);
  EXPECT_NE(s.voci[kVoceScenario].orario, 0);
  EXPECT_NE(s.percorso[1].valore_2, 0);
}

TEST(CompletaPercorso, SenzaTracciatoNonToccaIlFileDelPiano) {
  CartellaTemporanea cartella;
  scrivi_file_vecchi(cartella);
  Scenario s = letto();
  s.con_tracciato = 0;
  completa_percorso(s, disco, cartella.percorso());
  EXPECT_EQ(cartella.leggi(kPiano), "vecchio " + kPiano);
  EXPECT_EQ(cartella.leggi(kVoci), immagine_voci(s.voci));
  EXPECT_EQ(cartella.leggi(kPercorso), immagine_percorso(s.percorso));
}

// A stamp conflict ends the run before any file is written; so does a track without cell 1.
TEST(CompletaPercorso, UnConflittoDeiTimbriNonScriveNulla) {
  const struct {
    const char* nome;
    void (*prepara)(Scenario&);
    const char* messaggio;  // nullptr: a failure that is not an error message
  } casi[] = {
      // The signal in cell 3 before the board in cell 4, cell 2 taken: the pass puts its
      // point in cell 1, which the stamps then find.
      {"punto della passata in cella 1",
       [](Scenario& s) {
         s.percorso[3].genere = kSegnale;
         s.percorso[4] = Cella{.genere = kAvvisoRallentamento, .valore_1 = 60};
         s.percorso[2].genere = kCartello;
       },
       " Errore n. 1250"},
      {"orario della voce 85 gia scritto", [](Scenario& s) { s.voci[kVoceScenario].orario = 1; },
       " Errore n. 1251"},
      {"percorso di una cella", [](Scenario& s) { s.percorso.resize(1); }, nullptr},
  };
  for (const auto& c : casi) {
    CartellaTemporanea cartella;
    scrivi_file_vecchi(cartella);
    Scenario s = letto();
    c.prepara(s);
    try {
      completa_percorso(s, disco, cartella.percorso());
      ADD_FAILURE() << c.nome << ": nessun errore";
    } catch (const ErroreTerminale& e) {
      EXPECT_NE(c.messaggio, nullptr) << c.nome << ": " << e.what();
      if (c.messaggio != nullptr) {
        EXPECT_STREQ(e.what(), c.messaggio) << c.nome;
      }
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(c.messaggio, nullptr) << c.nome << ": " << e.what();
    }
    verifica_file_vecchi(cartella, c.nome);
  }
}

// The entry file cannot be written after the plan file was: the three files of the run before
// stay, all of them.
TEST(CompletaPercorso, UnTestoTroppoLungoLasciaITreFileVecchi) {
  CartellaTemporanea cartella;
  scrivi_file_vecchi(cartella);
  Scenario s = letto();
  s.voci[40].testo.assign(65536, 'x');
  EXPECT_THROW(completa_percorso(s, disco, cartella.percorso()), std::length_error);
  verifica_file_vecchi(cartella, "testo troppo lungo");
}

}  // namespace
