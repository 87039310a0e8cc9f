// The train phase of the parser, through its entry point, on small sources.
#include <gtest/gtest.h>

#include "compiler/memorizza_dati.h"
#include "prove/sorgenti_di_prova.h"

namespace {

constexpr std::string_view kPrimaStazione =
    "stazione,       0,  2,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,   6,18, 0, TAVENA";

// Compiles a 101000 m line without rows and the given train rows.
void compila(SorgentiDiProva& p, std::initializer_list<std::string_view> righe_treno) {
  p.linea_semplice(101000);
  p.treno_semplice(righe_treno);
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
}

TEST(FaseTreno, PrimaStazione) {
  SorgentiDiProva p;
  compila(p, {kPrimaStazione});
  ASSERT_EQ(p.s.codice_errore, 0);
  const Voce& v = p.s.voci[1];
  EXPECT_EQ(v.progressiva_voce, 0);
  EXPECT_EQ(v.categoria, 2);
  EXPECT_EQ(v.inizio_area, -350);
  EXPECT_EQ(v.fine_area, 350);
  EXPECT_EQ(v.marca_1, 1);
  EXPECT_EQ(v.marca_4, 0);
  EXPECT_EQ(v.marca_5, 0);
  EXPECT_EQ(v.dato_1, 4);
  EXPECT_EQ(v.dato_2, 1);
  EXPECT_EQ(v.marca_2, 0);
  EXPECT_EQ(v.dato_3, 2);
  EXPECT_EQ(v.dato_4, 1);
  EXPECT_EQ(v.dato_5, 1);
  EXPECT_EQ(v.marca_3, 1);
  EXPECT_EQ(v.orario, 22680);
  EXPECT_EQ(v.testo, "TAVENA");
  const auto& c = p.s.percorso;
  EXPECT_EQ(c[5].avvicinamento, 81);
  EXPECT_EQ(c[4].avvicinamento, 82);
  EXPECT_EQ(c[3].avvicinamento, 83);
  EXPECT_EQ(c[2].avvicinamento, 84);
  EXPECT_EQ(c[1].avvicinamento, 0);
  EXPECT_EQ(c[6].genere, kFermata);
  EXPECT_EQ(c[6].valore_1, 1);
  EXPECT_FALSE(p.treno_esiste());
}

TEST(FaseTreno, AreeDelleStazioniPerCategoria) {
  const struct {
    const char* riga;
    int32_t inizio, fine;
    int fermata;  // stop-marker cell, -1 for none
    bool avvicinamento;
  } casi[] = {
      {"stazione, 100750, 6, 500, 0,0,0, 0,0,0, 0,0,0, 0, 8,15,0, CROSTIA C.L.V.", 100250, 100900,
       2017, false},
      {"stazione, 50000, 8, 400, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, B", 49600, 50400, 1007, true},
      {"stazione, 50000, 12, 400, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, C", 49800, 50250, 1004, true},
      {"stazione, 50000, 25, 400, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, D", 49800, 50250, -1, false},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    compila(p, {kPrimaStazione, c.riga});
    ASSERT_EQ(p.s.codice_errore, 0) << c.riga;
    const Voce& v = p.s.voci[2];
    EXPECT_EQ(v.inizio_area, c.inizio) << c.riga;
    EXPECT_EQ(v.fine_area, c.fine) << c.riga;
    int fermate = 0;
    int avvicinamenti = 0;
    for (size_t i = 7; i < p.s.percorso.size(); ++i) {
      fermate += p.s.percorso[i].genere == kFermata ? 1 : 0;
      avvicinamenti += p.s.percorso[i].avvicinamento != 0 ? 1 : 0;
    }
    EXPECT_EQ(fermate, c.fermata < 0 ? 0 : 1) << c.riga;
    if (c.fermata >= 0) {
      EXPECT_EQ(p.s.percorso[c.fermata].genere, kFermata) << c.riga;
      EXPECT_EQ(p.s.percorso[c.fermata].valore_1, 2) << c.riga;
    }
    EXPECT_EQ(avvicinamenti, c.avvicinamento ? 4 : 0) << c.riga;
  }
}

TEST(FaseTreno, RiempimentiERigheGenerali) {
  SorgentiDiProva p;
  compila(p, {"numero vetture,    5", "percentuale massa frenata,    120", "sabbia,    300",
              "orologio,    6               30            0 ", "aderenza,   0,    100",
              "aderenza,   24350,    80", "velocita,       0,    30", "velocita,     800,    85",
              "velocita,   99650,    32"});
  ASSERT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 5);
  EXPECT_EQ(p.s.voci[kVoceTreno].inizio_area, 120);
  const Voce& r = p.s.voci[kVoceRipetizione];
  EXPECT_EQ((std::array{r.dato_1, r.dato_3, r.dato_4, r.dato_5}),
            (std::array<int16_t, 4>{300, 6, 30, 0}));
  const auto& c = p.s.percorso;  // cells 0 to 2160
  for (int i = 0; i <= 15; ++i) {
    EXPECT_EQ(c[i].velocita_massima, 6) << i;
  }
  EXPECT_EQ(c[16].velocita_massima, 17);
  EXPECT_EQ(c[1992].velocita_massima, 17);
  EXPECT_EQ(c[1993].velocita_massima, 6);  // 32 / 5 = 6.4
  EXPECT_EQ(c[2157].velocita_massima, 6);
  EXPECT_EQ(c[486].aderenza_cella, 100);
  EXPECT_EQ(c[487].aderenza_cella, 80);
  EXPECT_EQ(c[2157].aderenza_cella, 80);
  for (int i = 2158; i <= 2160; ++i) {
    EXPECT_EQ(c[i].velocita_massima, 0) << i;
    EXPECT_EQ(c[i].aderenza_cella, 0) << i;
  }
}

TEST(FaseTreno, LaVelocitaSiFermaAllUltimaCella) {
  SorgentiDiProva p;
  p.linea_semplice(1000);  // cells 0 to 160
  // Each row on an already filled cell still fills one: the fill position reaches the last
  // cell, and the 1300 km/h of the last row is never written there.
  p.treno_semplice({"velocita, 0, 30", "velocita, 7900, 40", "velocita, 7900, 45",
                    "velocita, 7900, 50", "velocita, 7900, 1300"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.percorso[157].velocita_massima, 6);
  EXPECT_EQ(p.s.percorso[158].velocita_massima, 8);
  EXPECT_EQ(p.s.percorso[159].velocita_massima, 9);
  EXPECT_EQ(p.s.percorso[160].velocita_massima, 0);

  // The adhesion fill has no such stop: it runs off the track.
  SorgentiDiProva aderenza;
  aderenza.linea_semplice(1000);
  aderenza.treno_semplice(
      {"aderenza, 7900, 40", "aderenza, 7900, 45", "aderenza, 7900, 50", "aderenza, 7900, 55"});
  memorizza_dati(aderenza.s, aderenza.cartella.disco, aderenza.cartella.percorso());
  EXPECT_EQ(aderenza.s.codice_errore, 25);
  EXPECT_EQ(aderenza.s.percorso[160].aderenza_cella, 50);

  SorgentiDiProva troppo_veloce;
  troppo_veloce.linea_semplice(1000);
  troppo_veloce.treno_semplice({"velocita, 0, 1300", "velocita, 800, 30"});
  memorizza_dati(troppo_veloce.s, troppo_veloce.cartella.disco, troppo_veloce.cartella.percorso());
  EXPECT_EQ(troppo_veloce.s.codice_errore, 25);
}

TEST(FaseTreno, TrenoSenzaGenerale) {
  SorgentiDiProva p;
  p.linea_semplice(1000);
  p.treno({"numero vetture, 5", "velocita, 0, 30", "[fine]"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 0);
  EXPECT_FALSE(p.treno_esiste());
  EXPECT_EQ(p.s.percorso[0].velocita_massima, 0);
}

TEST(FaseTreno, PuntiDiAbbattimento) {
  SorgentiDiProva p;
  compila(p, {"abbattimento, 1000, 0", "abbattimento, 2000, 90", "abbattimento, 3025, -4"});
  ASSERT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.percorso[20].genere, kAbbattimentoSenzaVelocita);
  EXPECT_EQ(p.s.percorso[40].genere, kAbbattimentoConVelocita);
  EXPECT_EQ(p.s.percorso[40].valore_1, 90);
  EXPECT_EQ(p.s.percorso[60].genere, kAbbattimentoSenzaVelocita);

  SorgentiDiProva troppo_grande;
  compila(troppo_grande, {"abbattimento, 1000, 40000"});
  EXPECT_EQ(troppo_grande.s.codice_errore, 25);
}

// Data errors of the train phase: the source is deleted and the parse ends at the row.
TEST(FaseTreno, CodiciDErrore) {
  const struct {
    std::initializer_list<std::string_view> righe;
    int32_t codice, posizione;
  } casi[] = {
      // The position is checked before the other values are read.
      {{"stazione, 75, x"}, 8, 75},
      {{"stazione, 100, 2, 250, x"}, 9, 100},
      {{kPrimaStazione, "stazione, 900, 2, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B"}, 22, 900},
      {{"stazione, 0, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
        "stazione, 0, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B"},
       24,
       -1},
      {{"abbattimento, 1000, 0", "abbattimento, 1010, 0"}, 7, 1010},
      {{"segnale, 4500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0",
        "segnale, 4500, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0"},
       16,
       4500},
      {{"segnale, 9200, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 9200, 70, 300, 0, 1, 0"},
       18,
       9200},
      {{"rallentamento, 9200, 70, 300, 0, 1, 0", "rallentamento, 9150, 70, 300, 0, 1, 0"},
       17,
       9150},
      {{"rallentamento, 9200, 70, 300, 0, 1, 0", "rallentamento, 8900, 70, 300, 0, 1, 0"},
       19,
       8900},
      {{"rallentamento, 9200, 70, 300, 0, 1, 0", "rallentamento, 9250, 70, 100, 0, 1, 0"},
       20,
       9250},
      {{"segnale, 200000, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0"}, 15, 200000},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.s.posizione_errore = -1;
    compila(p, c.righe);
    EXPECT_EQ(p.s.codice_errore, c.codice) << *(c.righe.end() - 1);
    EXPECT_EQ(p.s.posizione_errore, c.posizione) << *(c.righe.end() - 1);
    EXPECT_FALSE(p.treno_esiste());
  }
}

TEST(FaseTreno, TroppeStazioniRaggiungonoICartelli) {
  // 77 signs take entries 80 down to 4: the second station, in entry 2, reaches them.
  SorgentiDiProva p;
  std::string linea = "[generale]\r\nlunghezza percorso, 101000\r\n[indicazioni]\r\n";
  for (int i = 0; i < 77; ++i) {
    linea += "cartello_indicatore, " + std::to_string(50000 + 100 * i) + ", (X)\r\n";
  }
  linea += "[fine]\r\n";
  p.cartella.scrivi(kLineaDiProva, linea);
  p.treno_semplice({kPrimaStazione, "stazione, 5000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B",
                    "stazione, 9000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, C"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 10);
  EXPECT_EQ(p.s.voci[2].testo, "B");
  EXPECT_EQ(p.s.voci[3].testo, "");
  EXPECT_EQ(p.s.voci[4].testo, "(X)");
}

TEST(FaseTreno, UnQuindiciDellaLineaFermaIlPrimoSegnale) {
  SorgentiDiProva p;
  p.linea_semplice(1000, {"pendenza, 9000, 0"});
  p.treno_semplice(
      {"numero vetture, 5", "segnale, 4500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0", "sabbia, 300"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 15);
  EXPECT_EQ(p.s.posizione_errore, 4500);
  EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 5);
  EXPECT_EQ(p.s.percorso[91].genere, kSegnale);
  EXPECT_EQ(p.s.voci[kVoceRipetizione].dato_1, 0);
  EXPECT_FALSE(p.treno_esiste());
}

TEST(FaseTreno, ProgressiveNonMultipleDi50) {
  SorgentiDiProva p;
  p.linea({"[generale]", "lunghezza percorso, 1000", "progressiva chilometrica uno, 0, 100925, 0",
           "[fine]"});
  p.treno_semplice({"numero vetture, 5"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 2);
  EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 5);
}

TEST(FaseTreno, ErroriDiEsecuzione) {
  const struct {
    const char* caso;
    std::initializer_list<std::string_view> righe;
  } casi[] = {
      {"segnale entro 350 m dall'inizio", {"segnale, 300, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0"}},
      {"orologio fuori da 16 bit", {"orologio, 6 30 40000"}},
      {"orario fuori da 32 bit",
       {"stazione, 0, 2, 700, 0,0,0, 0,0,0, 0,0,0, 0, 2000000000,0,0, A"}},
      {"area fuori da 32 bit",
       {"stazione, 0, 2, 700, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
        "stazione, 5000, 7, 2147483600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B"}},
      {"valori dopo l'ultima riga", {"sabbia"}},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    compila(p, c.righe);
    EXPECT_EQ(p.s.codice_errore, 25) << c.caso;
    EXPECT_FALSE(p.treno_esiste()) << c.caso;
  }

  // A time that does not fit stops the parse with every value of the row stored, the name
  // too, and neither the time nor the area.
  SorgentiDiProva orario;
  compila(orario,
          {kPrimaStazione, "stazione, 5000, 4, 200, 3,0,0, 0,0,0, 0,0,0, 30, 600000,0,0, LONTANA"});
  EXPECT_EQ(orario.s.codice_errore, 25);
  const Voce& v = orario.s.voci[2];
  EXPECT_EQ(v.progressiva_voce, 5000);
  EXPECT_EQ(v.marca_1, 3);
  EXPECT_EQ(v.marca_3, 30);
  EXPECT_EQ(v.testo, "LONTANA");
  EXPECT_EQ(v.orario, 0);
  EXPECT_EQ(v.inizio_area, 0);
  EXPECT_EQ(orario.s.percorso[101].genere, kNessuno) << "no stop marker";

  SorgentiDiProva mancante;
  mancante.linea_semplice(1000);
  memorizza_dati(mancante.s, mancante.cartella.disco, mancante.cartella.percorso());
  EXPECT_EQ(mancante.s.codice_errore, 25);
  EXPECT_FALSE(mancante.linea_esiste());

  SorgentiDiProva vuoto;
  vuoto.linea_semplice(1000);
  vuoto.treno({});
  memorizza_dati(vuoto.s, vuoto.cartella.disco, vuoto.cartella.percorso());
  EXPECT_EQ(vuoto.s.codice_errore, 25);
  EXPECT_FALSE(vuoto.treno_esiste());
}

}  // namespace
