#include "strumenti/marcia/punti_orario.h"

#include <gtest/gtest.h>

#include <string>

#include "prove/scenario_compilato.h"

namespace {

int64_t ora(int h, int m, int s = 0) {
  return h * 3600 + m * 60 + s;
}

TEST(PuntiOrario, QuelliDellaCorsaIncorporata) {
  const Scenario& s = scenario_incorporato().s;
  const PuntiOrario po = punti_orario(s.voci, s.percorso);
  ASSERT_TRUE(po.difetto.empty()) << po.difetto;
  const std::vector<PuntoOrario>& p = po.punti;
  ASSERT_EQ(p.size(), 18u);
  // TAVENA: its stop marker is in cell 6; its one-second stop is not counted, it departs.
  EXPECT_EQ(p[0].nome, "TAVENA");
  EXPECT_EQ(p[0].voce, 1);
  EXPECT_EQ(p[0].posizione_m, 300);
  EXPECT_TRUE(p[0].fermata);
  EXPECT_EQ(p[0].partenza_s, ora(6, 18));
  EXPECT_EQ(p[0].arrivo_s, ora(6, 18));
  // MORSELLO, area to 11100 m: marker in cell 221; arrives a minute before it departs.
  EXPECT_EQ(p[1].nome, "MORSELLO");
  EXPECT_EQ(p[1].voce, 2);
  EXPECT_EQ(p[1].posizione_m, 11050);
  EXPECT_TRUE(p[1].fermata);
  EXPECT_EQ(p[1].arrivo_s, ora(6, 28));
  EXPECT_EQ(p[1].partenza_s, ora(6, 29));
  // PIANCORTO has no time: ROVAGNANO is next.
  EXPECT_EQ(p[2].nome, "ROVAGNANO");
  EXPECT_EQ(p[2].voce, 4);
  EXPECT_EQ(p[2].arrivo_s, ora(6, 35, 30));
  // CROSTIA, category 27, has no stop marker: the train stands at its position.
  EXPECT_EQ(p[16].nome, "CROSTIA");
  EXPECT_EQ(p[16].posizione_m, 97800);
  EXPECT_EQ(p[16].arrivo_s, ora(8, 11, 30));
  EXPECT_EQ(p[16].partenza_s, ora(8, 12));
  EXPECT_EQ(p[17].nome, "CROSTIA C.L.V.");
  EXPECT_EQ(p[17].voce, 29);
  EXPECT_EQ(p[17].posizione_m, 100850);
  EXPECT_TRUE(p[17].fermata);
  EXPECT_EQ(p[17].arrivo_s, ora(8, 15));
}

// A small track of 200 cells and stations written straight into the entries.
struct Stazioni {
  Stazioni() : s() { s.percorso.resize(200); }
  Voce& stazione(int voce, int32_t posizione, uint8_t categoria, int32_t orario,
                 uint8_t sosta = 0) {
    Voce& v = s.voci[static_cast<size_t>(voce)];
    v.progressiva_voce = posizione;
    v.categoria = categoria;
    v.orario = orario;
    v.marca_3 = sosta;
    v.fine_area = posizione + 100;
    v.testo = "  S" + std::to_string(voce) + " ";
    return v;
  }
  PuntiOrario punti() const { return punti_orario(s.voci, s.percorso); }
  Scenario s;
};

TEST(PuntiOrario, FermateEPassaggi) {
  Stazioni t;
  t.stazione(1, 1000, 30, 1000);
  t.s.percorso[21].genere = kFermata;  // the marker of entry 2, wherever the area ends
  t.s.percorso[21].valore_1 = 2;
  t.stazione(2, 2000, 4, 1200, 60);
  t.stazione(3, 3000, 4, 0, 60);  // no time: not a point
  t.stazione(4, 4000, 4, 1500);   // passed, at its position
  t.stazione(5, 5000, 4, 1700);   // the last: its marker from its area, which ends at 5100
  const PuntiOrario po = t.punti();
  ASSERT_TRUE(po.difetto.empty()) << po.difetto;
  const struct {
    int voce;
    int64_t posizione;
    bool fermata;
    int64_t arrivo;
    int64_t partenza;
  } attesi[] = {{1, 1000, true, 1000, 1000},
                {2, 1050, true, 1140, 1200},
                {4, 4000, false, 1500, 1500},
                {5, 5050, true, 1700, 1700}};
  ASSERT_EQ(po.punti.size(), std::size(attesi));
  for (size_t i = 0; i < po.punti.size(); ++i) {
    const PuntoOrario& p = po.punti[i];
    EXPECT_EQ(p.voce, attesi[i].voce) << i;
    EXPECT_EQ(p.nome, "S" + std::to_string(attesi[i].voce)) << i;
    EXPECT_EQ(p.posizione_m, attesi[i].posizione) << i;
    EXPECT_EQ(p.fermata, attesi[i].fermata) << i;
    EXPECT_EQ(p.arrivo_s, attesi[i].arrivo) << i;
    EXPECT_EQ(p.partenza_s, attesi[i].partenza) << i;
  }
}

TEST(PuntiOrario, LeStazioniFinisconoAllaPrimaVoceVuota) {
  Stazioni t;
  t.stazione(1, 1000, 30, 1000);
  t.stazione(2, 2000, 30, 1100);
  t.stazione(4, 3000, 30, 1200);
  EXPECT_EQ(t.punti().punti.size(), 2u);
}

TEST(PuntiOrario, PuntiCheNonFannoUnaCorsa) {
  const struct {
    const char* caso;
    int32_t seconda;
    const char* difetto;
  } casi[] = {
      {"indietro", 900,
       "la stazione della voce 2, a 900 m, non sta oltre quella della voce 1, a 1000 m"},
      {"nello stesso punto", 1000,
       "la stazione della voce 2, a 1000 m, non sta oltre quella della voce 1, a 1000 m"},
      {"oltre il percorso", 9960, "la stazione della voce 2 sta fuori dal percorso, a 9960 m"},
      {"prima dell'inizio", -50, "la stazione della voce 2 sta fuori dal percorso, a -50 m"},
  };
  for (const auto& c : casi) {
    Stazioni t;
    t.stazione(1, 1000, 30, 1000);
    t.stazione(2, c.seconda, 30, 1100);
    EXPECT_EQ(t.punti().difetto, c.difetto) << c.caso;
  }
  Stazioni t;
  t.stazione(1, 1000, 30, 1000);
  t.stazione(2, 9950, 30, 1100);
  EXPECT_EQ(t.punti().difetto, "");
}

}  // namespace
