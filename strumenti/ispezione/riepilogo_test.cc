#include "strumenti/ispezione/riepilogo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prove/righe_scritte.h"
#include "prove/scenario_compilato.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "strumenti/ispezione/ispezione.h"

namespace {

const Riepilogo& incorporato() {
  static const Riepilogo r = [] {
    const ScenarioCompilato& c = scenario_incorporato();
    const Ispezione i = ispeziona_byte({"Tavena_Crostia", "4417"}, c.tracciato, c.voci, c.percorso);
    return riepiloga(i.tracciato, i.voci, i.percorso);
  }();
  return r;
}

// The rows of one kind of a source, as numbers.
std::vector<std::vector<int32_t>> righe_di(Scrittore sorgente, std::string_view chiave) {
  std::vector<std::vector<int32_t>> out;
  for (const std::string& riga : testo_del_lavoro(sorgente).righe) {
    const auto f = campi(riga);
    if (f.front().find(chiave) != 0) {
      continue;
    }
    std::vector<int32_t> v;
    for (size_t k = 1; k < f.size(); ++k) {
      v.push_back(intero(f[k]).value_or(0));
    }
    out.push_back(v);
  }
  return out;
}

TEST(Riepilogo, OgniElementoDelleSorgentiAlSuoPosto) {
  const Riepilogo& r = incorporato();
  EXPECT_EQ(r.lunghezza, 101000);
  EXPECT_EQ(r.celle, 2161);
  EXPECT_EQ(r.punti, 108001);

  const auto segnali = righe_di(dati_treno, "segnale");
  ASSERT_EQ(r.segnali.size(), segnali.size());
  for (size_t i = 0; i < segnali.size(); ++i) {
    EXPECT_EQ(r.segnali[i].posizione, segnali[i][0]);
  }
  const auto cartelli = righe_di(dati_linea, "indicatori_vmax");
  ASSERT_EQ(r.cartelli_velocita.size(), cartelli.size());
  for (size_t i = 0; i < cartelli.size(); ++i) {
    const CartelloVelocita& b = r.cartelli_velocita[i];
    EXPECT_EQ(b.posizione, cartelli[i][0]);
    EXPECT_EQ(b.velocita, (std::array<int, 3>{cartelli[i][1], cartelli[i][2], cartelli[i][3]}))
        << "cartello a " << b.posizione;
  }
  EXPECT_EQ(r.cartelli_testo.size(), righe_di(dati_linea, "cartello").size());

  const auto rallentamenti = righe_di(dati_treno, "rallentamento");
  ASSERT_EQ(r.rallentamenti.size(), rallentamenti.size());
  for (size_t i = 0; i < rallentamenti.size(); ++i) {
    const RallentamentoLetto& s = r.rallentamenti[i];
    EXPECT_EQ(s.inizio, rallentamenti[i][0]);
    EXPECT_EQ(s.velocita, rallentamenti[i][1]);
    EXPECT_EQ(s.fine - s.inizio, rallentamenti[i][2]);
    EXPECT_EQ(s.avviso, s.inizio - 1200);
  }

  // Every tunnel row lies inside one tunnel range of the summary.
  for (const auto& m : righe_di(dati_linea, "montagna")) {
    bool dentro = false;
    for (const Intervallo& g : r.gallerie) {
      dentro = dentro || (g.da <= (m[0] + 25) / 50 * 50 && g.a >= (m[1] - 25) / 50 * 50);
    }
    EXPECT_TRUE(dentro) << "galleria " << m[0] << "-" << m[1];
  }

  // The speed layer holds each row's speed from its position to the next row's.
  const auto velocita = righe_di(dati_treno, "velocita");
  ASSERT_GE(r.velocita_massima.size(), velocita.size());
  for (size_t i = 0; i < velocita.size(); ++i) {
    EXPECT_EQ(r.velocita_massima[i].da, velocita[i][0]);
    EXPECT_EQ(r.velocita_massima[i].valore, velocita[i][1]);
  }
}

TEST(Riepilogo, StazioniInOrdineDiMarciaConOrarioESosta) {
  const Riepilogo& r = incorporato();
  const auto stazioni = righe_di(dati_treno, "stazione");
  ASSERT_EQ(r.stazioni.size(), stazioni.size());
  for (size_t i = 0; i < stazioni.size(); ++i) {
    const StazioneLetta& s = r.stazioni[i];
    EXPECT_EQ(s.voce, static_cast<int>(i) + 1);
    EXPECT_EQ(s.posizione, stazioni[i][0]);
    EXPECT_EQ(s.categoria, stazioni[i][1]);
    EXPECT_EQ(s.sosta, stazioni[i][12]);
    EXPECT_EQ(s.orario, stazioni[i][13] * 3600 + stazioni[i][14] * 60 + stazioni[i][15]);
    EXPECT_EQ(s.cella_fermata >= 0, stazioni[i][1] < 25) << s.nome;
  }
  EXPECT_EQ(r.stazioni.front().nome, "TAVENA");
  EXPECT_EQ(r.stazioni.front().inizio_area, -350);
  EXPECT_EQ(r.stazioni.front().cella_fermata, 6);
  EXPECT_EQ(r.stazioni.back().nome, "CROSTIA C.L.V.");
  EXPECT_EQ(r.stazioni.back().chilometrica, 314050);
}

// The references of the built-in line after ordering: from 98250 a rising reading, from 0 a
// falling one (its value raised by 100 when it was ordered), the third cleared.
TEST(Riepilogo, LetturaChilometrica) {
  const std::vector<RiferimentoChilometrico> incorporati = {
      {81, 98250, 213400, 0}, {82, 0, 101050, 1}, {83, 0, 0, 0}};
  struct Caso {
    int32_t p;
    std::optional<int32_t> km;
  };
  for (const Caso c : {Caso{0, 100950}, Caso{10900, 90050}, Caso{98249, 2701}, Caso{98250, 311550},
                       Caso{100750, 314050}}) {
    EXPECT_EQ(chilometrica(incorporati, c.p), c.km) << c.p;
  }
  const std::vector<RiferimentoChilometrico> azzerati = {
      {81, 0, 0, 0}, {82, 0, 0, 0}, {83, 0, 0, 0}};
  EXPECT_EQ(chilometrica(azzerati, 500), std::nullopt);
  const std::vector<RiferimentoChilometrico> da_mille = {
      {81, 1000, 5100, 0}, {82, 0, 0, 0}, {83, 0, 0, 0}};
  EXPECT_EQ(chilometrica(da_mille, 999), std::nullopt);
  EXPECT_EQ(chilometrica(da_mille, 1000), 6000);
}

// The extent counts the points whose x and y both hold a number, each column its own.
TEST(Riepilogo, EstensioneDaiPuntiConXEY) {
  TracciatoLetto t;
  t.crea(5);
  t.imposta_intero(0, 0, 0);
  t.imposta_intero(0, 1, 0);
  t.imposta_intero(1, 0, 0);
  t.imposta_intero(1, 1, 1);
  t.imposta_reale(2, 0, 5.5);
  t.imposta_reale(2, 1, -3.25);
  t.imposta_reale(3, 0, 100.0);  // y empty: left out
  t.imposta_reale(4, 1, -50.0);  // x empty: left out
  const Riepilogo r = riepiloga(t, {}, {});
  EXPECT_EQ(r.punti, 6);
  ASSERT_TRUE(r.estensione.esiste);
  EXPECT_EQ(r.estensione.min_x, 0.0);
  EXPECT_EQ(r.estensione.max_x, 5.5);
  EXPECT_EQ(r.estensione.min_y, -3.25);
  EXPECT_EQ(r.estensione.max_y, 1.0);

  TracciatoLetto vuoti;
  vuoti.crea(3);
  EXPECT_FALSE(riepiloga(vuoti, {}, {}).estensione.esiste);
  EXPECT_FALSE(riepiloga(TracciatoLetto{}, {}, {}).estensione.esiste);
}

TEST(Riepilogo, OraDelGiorno) {
  EXPECT_EQ(ora_del_giorno(22680), "6:18:00");
  EXPECT_EQ(ora_del_giorno(29730), "8:15:30");
  EXPECT_EQ(ora_del_giorno(0), "0:00:00");
}

TEST(Riepilogo, IlTestoDiceQuelloCheUnaPersonaCerca) {
  const std::string t = testo_riepilogo(incorporato());
  for (const char* atteso : {
           "Linea di 101000 m; percorso di 2161 celle da 50 m; tracciato di 108001 punti\n",
           "  voce 81: dalla posizione 98250 m, valore 213400 m, crescente\n",
           "  voce 83: azzerata, non si applica\n",
           "Stazioni in ordine di marcia (29):\n",
           "     1  TAVENA                           0      -350 -      350    100.950    2     1 s"
           "  6:18:00\n",
           "Segnali (41):\n",
           "Cartelli di velocita' per rango (31), km/h:\n",
           "      9200 -     9500 m (300 m) a 70 km/h, avviso a 8000 m\n",
           "         0 -      800 m  30 km/h\n",
       }) {
    EXPECT_NE(t.find(atteso), std::string::npos) << "manca: " << atteso;
  }
}

}  // namespace
