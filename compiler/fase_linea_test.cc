// The line phase of the parser, through its entry point, on small line sources.
#include <gtest/gtest.h>

#include "compiler/memorizza_dati.h"
#include "prove/sorgenti_di_prova.h"

namespace {

TEST(FaseLinea, SezioneGeneraleDellaLinea) {
  SorgentiDiProva p;
  p.linea({"[generale]", "lunghezza percorso,    101000",
           "progressiva chilometrica uno,    0,    100950,    1",
           "progressiva chilometrica due,    98250,    213400,    0",
           "progressiva chilometrica tre,    0,    0,    0", "sfondo uno,    1",
           "sfondo due,    59500", "sfondo tre,    32750",
           "ripetizione segnali 4 codici,    0    ,0", "[curve]", "[fine]"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  const Scenario& s = p.s;
  EXPECT_EQ(s.codice_errore, 0);
  EXPECT_EQ(s.voci[kVoceTreno].fine_area, 101000);
  EXPECT_EQ(s.lunghezza_estesa, 108000);
  EXPECT_EQ(s.ultima_cella, 2160);
  EXPECT_EQ(s.percorso.size(), 2161u);
  EXPECT_EQ(s.tracciato.ultimo_punto(), 108000);
  const Voce& t = s.voci[kVoceProgressivaTre];
  const Voce& d = s.voci[kVoceProgressivaDue];
  const Voce& u = s.voci[kVoceProgressivaUno];
  EXPECT_EQ((std::array{t.inizio_area, t.fine_area, t.progressiva_voce}),
            (std::array{98250, 213400, 0}));
  EXPECT_EQ((std::array{d.inizio_area, d.fine_area, d.progressiva_voce}),
            (std::array{0, 101050, 1}));
  EXPECT_EQ((std::array{u.inizio_area, u.fine_area, u.progressiva_voce}), (std::array{0, 0, 0}));
  const Voce& sfondo = s.voci[kVoceScenario];
  EXPECT_EQ(sfondo.inizio_area, 1);
  EXPECT_EQ(sfondo.progressiva_voce, 59500);
  EXPECT_EQ(sfondo.fine_area, 32750);
  EXPECT_EQ(sfondo.testo, "Prova");
  const Voce& ripetizione = s.voci[kVoceRipetizione];
  EXPECT_EQ(ripetizione.inizio_area, 0);
  EXPECT_EQ(ripetizione.fine_area, 0);
  EXPECT_EQ(ripetizione.progressiva_voce, 0);
  EXPECT_EQ(ripetizione.testo, "1");
  EXPECT_FALSE(p.linea_esiste());
  EXPECT_FALSE(p.treno_esiste());
}

TEST(FaseLinea, RigheAvantiEMaiuscoleENomiDoppi) {
  SorgentiDiProva p;
  p.linea({"titolo qualunque, 5", "[GENERALE]", "- nota, con virgola", "LUNGHEZZA Percorso, 1000",
           "Sfondo uno, 7", "SFONDO DUE, 8",
           // Both "sfondo ... uno" and "sfondo ... tre" hold: each reads its own value.
           "sfondo uno tre, 11, 33", "[curve]", "[fine]"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.voci[kVoceTreno].fine_area, 1000);
  EXPECT_EQ(p.s.voci[kVoceScenario].inizio_area, 11);
  EXPECT_EQ(p.s.voci[kVoceScenario].fine_area, 33);
  EXPECT_EQ(p.s.voci[kVoceScenario].progressiva_voce, 0);
}

TEST(FaseLinea, RipetizioneSegnali) {
  const struct {
    const char* riga;
    int32_t codice, inizio, fine, progressiva;
  } casi[] = {
      {"ripetizione segnali 4 codici, 100, 50", 0, 100, 50, 4},
      {"ripetizione segnali 9 codici, 100, 50", 0, 100, 50, 9},
      {"ripetizione segnali 49 codici, 0, 50", 0, 0, 50, 4},
      {"ripetizione segnali 9 codici, 100, 0", 0, 100, 0, 0},
      {"ripetizione segnali 4 codici, 120, 50", 3, 120, 50, 0},
      {"ripetizione segnali 4 codici, 100, 70", 4, 100, 70, 0},
      {"ripetizione segnali codici, 100, 50", 5, 100, 50, 0},
      {"Ripetizione segnali 4 codici, 100, 50", 0, 0, 0, 0},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.linea({"[generale]", "lunghezza percorso, 1000", c.riga, "[curve]", "[fine]"});
    p.treno_semplice({});
    memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
    const Voce& v = p.s.voci[kVoceRipetizione];
    EXPECT_EQ(p.s.codice_errore, c.codice) << c.riga;
    EXPECT_EQ((std::array{v.inizio_area, v.fine_area, v.progressiva_voce}),
              (std::array{c.inizio, c.fine, c.progressiva}))
        << c.riga;
    EXPECT_FALSE(p.linea_esiste()) << c.riga;
    EXPECT_EQ(p.treno_esiste(), c.codice != 0) << c.riga;
  }
}

TEST(FaseLinea, SorgenteMancanteVuotaOSenzaGenerale) {
  SorgentiDiProva mancante;
  mancante.treno_semplice({});
  memorizza_dati(mancante.s, mancante.cartella.disco, mancante.cartella.percorso());
  EXPECT_EQ(mancante.s.codice_errore, 101);
  EXPECT_TRUE(mancante.treno_esiste());
  EXPECT_EQ(mancante.s.voci[kVoceScenario].testo, "Prova");

  SorgentiDiProva senza_generale;
  senza_generale.linea({"[curve]", "curvas5, 700, 700", "[generale]"});
  senza_generale.treno_semplice({});
  memorizza_dati(senza_generale.s, senza_generale.cartella.disco,
                 senza_generale.cartella.percorso());
  EXPECT_EQ(senza_generale.s.codice_errore, 102);
  EXPECT_FALSE(senza_generale.linea_esiste());
  EXPECT_TRUE(senza_generale.treno_esiste());
  EXPECT_TRUE(senza_generale.s.percorso.empty());

  SorgentiDiProva vuota;
  vuota.linea({});
  vuota.treno_semplice({});
  memorizza_dati(vuota.s, vuota.cartella.disco, vuota.cartella.percorso());
  EXPECT_EQ(vuota.s.codice_errore, 25);
  EXPECT_FALSE(vuota.linea_esiste());
  EXPECT_FALSE(vuota.treno_esiste());
}

TEST(FaseLinea, LunghezzaOltreIlMilione) {
  SorgentiDiProva p;
  p.linea_semplice(1000001);
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 1);
  EXPECT_EQ(p.s.voci[kVoceTreno].fine_area, 1000001);
  EXPECT_TRUE(p.s.percorso.empty());
  EXPECT_TRUE(p.treno_esiste());

  SorgentiDiProva massima;
  massima.linea_semplice(1000000);
  massima.treno_semplice({});
  memorizza_dati(massima.s, massima.cartella.disco, massima.cartella.percorso());
  EXPECT_EQ(massima.s.codice_errore, 0);
  EXPECT_EQ(massima.s.ultima_cella, 20140);
}

TEST(FaseLinea, RiempimentoDellePendenze) {
  SorgentiDiProva p;
  p.linea_semplice(1000, {"pendenza,  0 , -3", "pendenza,  850 , 4 ", "pendenza,  850 ,-26 ",
                          "pendenza,  900 , 26"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  ASSERT_EQ(p.s.codice_errore, 0);
  const auto& c = p.s.percorso;  // cells 0 to 160
  for (int i = 0; i <= 16; ++i) {
    EXPECT_EQ(c[i].pendenza_cella, 97) << i;  // the row at 0 only set the starting gradient
  }
  EXPECT_EQ(c[17].pendenza_cella, 104);  // a row on a filled cell still fills one cell
  EXPECT_EQ(c[18].pendenza_cella, 74);
  for (int i = 19; i <= 157; ++i) {
    EXPECT_EQ(c[i].pendenza_cella, 126) << i;
  }
  for (int i = 158; i <= 160; ++i) {
    EXPECT_EQ(c[i].pendenza_cella, 0) << i;
  }
}

TEST(FaseLinea, CommentiNellaSezionePrincipale) {
  const struct {
    std::initializer_list<std::string_view> righe;
    uint8_t pendenza_cella_17;
  } casi[] = {
      // Two comments are skipped: the gradient row after them is read.
      {{"- uno", "- due", "pendenza, 850, 4", "pendenza, 900, 0"}, 104},
      // A third comment is a keyword field: its "pendenza" is a gradient row.
      {{"- uno", "- due", "- pendenza nota, 850, 4", "pendenza, 900, 0"}, 104},
      // The second comment is skipped whole, so its values are read as keywords.
      {{"- uno", "- pendenza nota, 850, 4", "pendenza, 900, 0"}, 100},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.linea_semplice(1000, c.righe);
    p.treno_semplice({});
    memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
    EXPECT_EQ(p.s.codice_errore, 0);
    EXPECT_EQ(p.s.percorso[17].pendenza_cella, c.pendenza_cella_17) << *c.righe.begin();
  }
}

TEST(FaseLinea, CartelliEIndicatori) {
  SorgentiDiProva p;
  p.linea_semplice(
      10000, {"montagna,  4500 , 5000 , 11 ", "cartello_indicatore,  4550,   (GALLERIA)(  1 m.)",
              "indicatori_vmax,  800,  85,  90,  90,  0,  ,  ,  ,  0",
              "cartello_indicatore,  4700,   (SECONDO )"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  ASSERT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.percorso[92].genere, kCartello);
  EXPECT_EQ(p.s.percorso[92].valore_1, 80);
  EXPECT_EQ(p.s.voci[80].testo, "(GALLERIA)(  1 m.)");
  EXPECT_EQ(p.s.percorso[17].genere, kIndicatoreVelocita);
  // Cell 95 is the fourth of the tunnel, a filler mark: the sign replaces it.
  EXPECT_EQ(p.s.percorso[95].genere, kCartello);
  EXPECT_EQ(p.s.percorso[95].valore_1, 79);
  EXPECT_EQ(p.s.voci[79].testo, "(SECONDO )");
  EXPECT_EQ(p.s.percorso[95].galleria, 1);
}

TEST(FaseLinea, CelleOccupateFermanoLaLettura) {
  const struct {
    std::initializer_list<std::string_view> righe;
    int32_t codice, posizione;
  } casi[] = {
      {{"cartello_indicatore,  4550,   (A)", "cartello_indicatore,  4560,   (B)"}, 6, 4560},
      {{"indicatori_vmax,  4550,  85,  90,  90,  0,  ,  ,  ,  0",
        "cartello_indicatore,  4550,   (A)"},
       6,
       4550},
      {{"cartello_indicatore,  4550,   (A)",
        "indicatori_vmax,  4550,  85,  90,  90,  0,  ,  ,  ,  0"},
       21,
       4550},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.linea_semplice(10000, c.righe);
    p.treno_semplice({});
    memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
    EXPECT_EQ(p.s.codice_errore, c.codice);
    EXPECT_EQ(p.s.posizione_errore, c.posizione);
    EXPECT_FALSE(p.linea_esiste());
    EXPECT_TRUE(p.treno_esiste()) << "the train phase never opens its source";
  }
}

TEST(FaseLinea, ControlloDiPosizione) {
  // 1000 m of line: cells 0 to 160, rows accepted up to 7900 m.
  SorgentiDiProva p;
  p.linea_semplice(1000, {"cartello_indicatore,  7900,   (A)", "cartello_indicatore,  7950,   (B)",
                          "cartello_indicatore,  10,   (C)"});
  p.treno_semplice({"vetture, 5"});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 15);
  EXPECT_EQ(p.s.posizione_errore, 7950);
  EXPECT_EQ(p.s.percorso[159].genere, kCartello);
  EXPECT_EQ(p.s.voci[79].testo, "");                    // the rest of the line source was ignored
  EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 5);  // the train phase still ran
  EXPECT_FALSE(p.linea_esiste());
  EXPECT_FALSE(p.treno_esiste());
}

TEST(FaseLinea, Curve) {
  SorgentiDiProva p;
  p.linea_semplice(1000, {"curvas5,  700 , 100 ", "curvad6,  800,  50"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  ASSERT_EQ(p.s.codice_errore, 0);
  EXPECT_EQ(p.s.tracciato.valore(701, 0), -0.002);
  // The second curve turns the other way, three times as sharply as class 1 ... class 6.
  const double dx = p.s.tracciato.valore(800, 0) - p.s.tracciato.valore(799, 0);
  const double dy = p.s.tracciato.valore(800, 1) - p.s.tracciato.valore(799, 1);
  EXPECT_EQ(p.s.tracciato.valore(801, 0), p.s.tracciato.valore(800, 0) + (dx + 0.003 * dy));
  EXPECT_EQ(p.s.tracciato.etichetta(7998, 0), Etichetta::reale_64);
  EXPECT_EQ(p.s.tracciato.etichetta(7999, 0), Etichetta::vuoto);

  SorgentiDiProva senza_classe;
  senza_classe.linea_semplice(1000, {"curvas7,  700 , 100 "});
  senza_classe.treno_semplice({});
  memorizza_dati(senza_classe.s, senza_classe.cartella.disco, senza_classe.cartella.percorso());
  EXPECT_EQ(senza_classe.s.codice_errore, 103);
  EXPECT_FALSE(senza_classe.linea_esiste());

  SorgentiDiProva senza_tracciato;
  senza_tracciato.s.con_tracciato = 0;
  senza_tracciato.linea_semplice(1000, {"curvas7,  700 , 100 "});
  senza_tracciato.treno_semplice({});
  memorizza_dati(senza_tracciato.s, senza_tracciato.cartella.disco,
                 senza_tracciato.cartella.percorso());
  EXPECT_EQ(senza_tracciato.s.codice_errore, 0);
  EXPECT_FALSE(senza_tracciato.s.tracciato.esiste());
}

TEST(FaseLinea, TracciatoOltreUnMilioneDiPunti) {
  SorgentiDiProva p;
  p.linea_semplice(1000000, {"curvad4, 999900, 200"});
  p.treno_semplice({});
  memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
  EXPECT_EQ(p.s.codice_errore, 103);
  EXPECT_EQ(p.s.tracciato.etichetta(1000000, 0), Etichetta::reale_64);
  EXPECT_EQ(p.s.tracciato.etichetta(1000001, 0), Etichetta::vuoto);
}

// Every run-time failure becomes code 25: both sources are deleted and what was written
// before the failure stays.
TEST(FaseLinea, ErroriDiEsecuzione) {
  const struct {
    const char* caso;
    std::initializer_list<std::string_view> righe;
  } casi[] = {
      {"valore troppo grande", {"pendenza, 99999999999, 1"}},
      {"valore illeggibile", {"pendenza, 850, +4"}},
      {"pendenza fuori da 8 bit", {"pendenza, 850, 156", "pendenza, 900, 0"}},
      {"galleria oltre il percorso", {"montagna, 7000, 9000, 2"}},
      {"velocita fuori da 16 bit", {"indicatori_vmax, 800, 2000, 90, 90, 0, , , , 0"}},
      {"valori dopo l'ultima riga", {"[indicazioni]", "cartello_indicatore"}},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.linea_semplice(1000, c.righe);
    p.treno_semplice({"vetture, 5"});
    memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
    EXPECT_EQ(p.s.codice_errore, 25) << c.caso;
    EXPECT_FALSE(p.linea_esiste()) << c.caso;
    EXPECT_FALSE(p.treno_esiste()) << c.caso;
    EXPECT_EQ(p.s.voci[kVoceTreno].progressiva_voce, 0) << c.caso;
  }
}

TEST(FaseLinea, ErroriDiEsecuzioneFuoriDalleRighe) {
  const struct {
    const char* caso;
    std::string_view testo;
  } casi[] = {
      {"nessuna riga della lunghezza", "[generale]\r\n[curve]\r\npendenza, -100, 1\r\n[fine]\r\n"},
      {"lunghezza negativa", "[generale]\r\nlunghezza percorso, -8000\r\n[fine]\r\n"},
      {"commento generale alla fine", "[generale]\r\n- a\r\n- b\r\n"},
      {"81 gallerie", ""},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    std::string testo(c.testo);
    if (testo.empty()) {
      testo = "[generale]\r\nlunghezza percorso, 100000\r\n[montagne]\r\n";
      for (int i = 1; i <= 81; ++i) {
        testo += "montagna, " + std::to_string(i * 1000) + ", " + std::to_string(i * 1000 + 100) +
                 ", 2\r\n";
      }
      testo += "[fine]\r\n";
    }
    p.cartella.scrivi(kLineaDiProva, testo);
    p.treno_semplice({});
    memorizza_dati(p.s, p.cartella.disco, p.cartella.percorso());
    EXPECT_EQ(p.s.codice_errore, 25) << c.caso;
    EXPECT_FALSE(p.linea_esiste()) << c.caso;
    EXPECT_FALSE(p.treno_esiste()) << c.caso;
  }
}

}  // namespace
