#include "compiler/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/errore.h"
#include "compiler/scrivi_binario.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"
#include "prove/sorgenti_di_prova.h"

namespace {

// These tests look at the files a compile leaves in a real folder.
piattaforma::DiscoReale disco;

using piattaforma::CartellaTemporanea;

const std::string kPiano = "Tavena_Crostia_linea.dat";
const std::string kVoci = "Tavena_Crostia_4417.sim";
const std::string kPercorso = "Tavena_Crostia_4417.dat";

// Binary files of an earlier run, which a run that writes none must leave as they are.
void scrivi_file_vecchi(const CartellaTemporanea& cartella) {
  for (const std::string& nome : {kPiano, kVoci, kPercorso}) {
    cartella.scrivi(nome, "vecchio " + nome);
  }
}

void verifica_file_vecchi(const CartellaTemporanea& cartella, const std::string& caso) {
  EXPECT_EQ(cartella.nomi(), (std::vector<std::string>{kPercorso, kVoci, kPiano})) << caso;
  for (const std::string& nome : {kPiano, kVoci, kPercorso}) {
    EXPECT_EQ(cartella.leggi(nome), "vecchio " + nome) << caso;
  }
}

// The driver's ending over a model as the parser would leave it: the steps after the parse,
// then the files, with the model back in `s` however it ends.
EsitoCompilazione completa_e_scrivi(Scenario& s, piattaforma::Disco& d, const std::string& dove) {
  Compilazione c;
  c.scenario = std::move(s);
  struct Restituisci {
    Scenario& s;
    Compilazione& c;
    ~Restituisci() { s = std::move(c.scenario); }
  } restituisci{s, c};
  completa_compilazione(c, {});
  return scrivi_compilazione(c, d, dove);
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
  s.tracciato.aggiungi_intero(0, 0);
  s.tracciato.aggiungi_intero(0, 1);
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
TEST(CompletaEScrivi, PassataTimbriEPoiITreFile) {
  CartellaTemporanea cartella;
  Scenario s = letto();
  s.codice_errore = 15;
  s.posizione_errore = 1234;
  completa_e_scrivi(s, disco, cartella.percorso());

  EXPECT_EQ(s.codice_errore, 15);
  EXPECT_EQ(s.posizione_errore, 1234);
  ASSERT_EQ(cartella.nomi(), (std::vector<std::string>{kPercorso, kVoci, kPiano}));
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

TEST(CompletaEScrivi, SenzaTracciatoNonToccaIlFileDelPiano) {
  CartellaTemporanea cartella;
  scrivi_file_vecchi(cartella);
  Scenario s = letto();
  s.con_tracciato = 0;
  completa_e_scrivi(s, disco, cartella.percorso());
  EXPECT_EQ(cartella.leggi(kPiano), "vecchio " + kPiano);
  EXPECT_EQ(cartella.leggi(kVoci), immagine_voci(s.voci));
  EXPECT_EQ(cartella.leggi(kPercorso), immagine_percorso(s.percorso));
}

// A stamp conflict ends the run before any file is written; so does a track without cell 1.
TEST(CompletaEScrivi, UnConflittoDeiTimbriNonScriveNulla) {
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
      completa_e_scrivi(s, disco, cartella.percorso());
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
TEST(CompletaEScrivi, UnTestoTroppoLungoLasciaITreFileVecchi) {
  CartellaTemporanea cartella;
  scrivi_file_vecchi(cartella);
  Scenario s = letto();
  s.voci[40].testo.assign(65536, 'x');
  EXPECT_THROW(completa_e_scrivi(s, disco, cartella.percorso()), std::runtime_error);
  verifica_file_vecchi(cartella, "testo troppo lungo");
}

// Every problem says where it was found: the source's name, and the line and column of the
// field being read; a run-time failure away from the reader names the last row read, a
// problem of the pass the row that put its item on the track, and a cell found taken the
// row that took it. Sources in memory, lines ended by CR LF.
TEST(MemorizzaPercorso, OgniProblemaDiceDoveSiTrova) {
  using Righe = std::vector<std::string_view>;
  const Righe linea = {"[generale]", "lunghezza percorso, 101000", "[curve]", "[fine]"};
  const Righe treno = {"[generale]", "[fine]"};
  constexpr std::string_view L = kLineaDiProva;
  constexpr std::string_view T = kTrenoDiProva;
  const struct {
    const char* caso;
    std::optional<Righe> linea;  // none: the source is missing
    std::optional<Righe> treno;
    int32_t codice;
    std::string_view file;
    int riga, colonna;
    std::string_view motivo = "";
    std::optional<Luogo> nota = std::nullopt;
  } casi[] = {
      {"linea senza sorgente", std::nullopt, treno, 101, L, 0, 0},
      {"linea senza [generale]: l'ultimo campo letto", Righe{"[curve]", "curvas5, 700, 700"}, treno,
       102, L, 2, 15},
      {"sezione generale: il valore sbagliato",
       Righe{"[generale]", "lunghezza percorso, 1000", "ripetizione segnali 4 codici, 120, 50",
             "[fine]"},
       treno, 3, L, 3, 31},
      {"sezione principale: la posizione oltre il percorso",
       Righe{"[generale]", "lunghezza percorso, 1000", "[pendenze]", "pendenza, 9000, 0", "[fine]"},
       treno, 15, L, 4, 11},
      {"curva senza classe: la parola chiave",
       Righe{"[generale]", "lunghezza percorso, 1000", "[curve]", "curvax, 100, 200", "[fine]"},
       treno, 103, L, 4, 1},
      {"cartello su un cartello: nota alla riga del primo",
       Righe{"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
             "cartello_indicatore, 4550, A", "cartello_indicatore, 4560, B", "[fine]"},
       treno, 6, L, 5, 22, "", Luogo{std::string(L), 4, 1}},
      {"coda delle pendenze: l'ultima riga letta",
       Righe{"[generale]", "lunghezza percorso, 1000", "[pendenze]", "pendenza, 850, 200",
             "[fine]"},
       treno, 25, L, 4, 1, "valore fuori intervallo"},
      {"progressiva non multipla: il campo, anche dopo l'ordinamento",
       Righe{"[generale]", "lunghezza percorso, 1000", "progressiva chilometrica uno, 0, 100925, 0",
             "[fine]"},
       treno, 2, L, 3, 34},
      {"stazione non multipla di 50", linea,
       Righe{"[generale]", "numero vetture, 5", "stazione, 75, x", "[fine]"}, 8, T, 3, 11},
      {"stazione troppo vicina: nota alla precedente", linea,
       Righe{"[generale]",
             "stazione,       0,  2,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,   6,18, 0, TAVENA",
             "stazione, 900, 2, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B", "[fine]"},
       22, T, 3, 11, "", Luogo{std::string(T), 2, 1}},
      {"segnale su un cartello della linea: nota nell'altra sorgente",
       Righe{"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
             "cartello_indicatore, 4500, X", "[fine]"},
       Righe{"[generale]", "segnale, 4500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0", "[fine]"}, 16, T, 2, 10,
       "", Luogo{std::string(L), 4, 1}},
      {"codice lasciato dalla linea: la riga del treno che ferma, nota alla riga della linea",
       Righe{"[generale]", "lunghezza percorso, 1000", "[pendenze]", "pendenza, 9000, 0", "[fine]"},
       Righe{"[generale]", "numero vetture, 5", "rallentamento, 5200, 70, 300, 0, 0, 0", "[fine]"},
       15, T, 3, 16, "", Luogo{std::string(L), 4, 11}},
      {"numero illeggibile", linea, Righe{"[generale]", "sabbia, 3x0", "[fine]"}, 25, T, 2, 9,
       "numero atteso"},
      {"lettura oltre la fine: la riga dopo l'ultima", linea, Righe{"[generale]", "orologio, 6 30"},
       25, T, 3, 1, "fine del file"},
      {"segnale entro 350 m: la riga del registratore", linea,
       Righe{"[generale]", "numero vetture, 5", "segnale, 300, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0",
             "[fine]"},
       25, T, 3, 1, "cella fuori dal percorso"},
      {"sorgente del treno mancante", linea, std::nullopt, 25, T, 0, 0, "impossibile aprire"},
      // The three cells of the nearest window are taken by points read after the slow-down;
      // the pass finds it at the end and names the slow-down's row.
      {"passata: la riga che ha messo il rallentamento", linea,
       Righe{"[generale]", "rallentamento, 9200, 70, 300, 0, 0, 0", "abbattimento, 8900, 0",
             "abbattimento, 8950, 0", "abbattimento, 9000, 0", "numero vetture, 5", "[fine]"},
       12, T, 2, 1},
  };
  const auto testo = [](const Righe& righe) {
    std::string t;
    for (std::string_view r : righe) {
      t += r;
      t += "\r\n";
    }
    return t;
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    if (c.linea) {
      p.cartella.scrivi(kLineaDiProva, testo(*c.linea));
    }
    if (c.treno) {
      p.cartella.scrivi(kTrenoDiProva, testo(*c.treno));
    }
    const EsitoCompilazione e = memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), 1);
    EXPECT_EQ(e.codice, c.codice) << c.caso;
    EXPECT_EQ(p.s.codice_errore, c.codice) << c.caso;
    EXPECT_EQ(e.luogo, (Luogo{std::string(c.file), c.riga, c.colonna})) << c.caso;
    EXPECT_EQ(e.motivo, c.motivo) << c.caso;
    EXPECT_EQ(e.nota, c.nota) << c.caso;
    EXPECT_EQ(e.posizione, p.s.posizione_errore) << c.caso;
  }
}

// The pass recording a problem after the parse left one: the later record is the result.
TEST(MemorizzaPercorso, IlProblemaDellaPassataSostituisceQuelloDellaLettura) {
  SorgentiDiProva p;
  p.linea({"[generale]", "lunghezza percorso, 1000", "progressiva chilometrica uno, 0, 925, 0",
           "[fine]"});
  p.treno_semplice({"rallentamento, 5200, 70, 300, 0, 0, 0", "abbattimento, 4900, 0",
                    "abbattimento, 4950, 0", "abbattimento, 5000, 0"});
  const EsitoCompilazione e = memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), 1);
  EXPECT_EQ(e.codice, 12);
  EXPECT_EQ(p.s.codice_errore, 12);
  EXPECT_EQ(e.posizione, 5250);
  EXPECT_EQ(e.luogo, (Luogo{"Prova_1-.txt", 2, 1}));
  EXPECT_TRUE(e.file_scritti);
}

}  // namespace
