#include "strumenti/marcia/marcia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "compiler/leggi_binario.h"
#include "prove/scenario_compilato.h"

namespace {

constexpr double kG = 9.81;
constexpr double kRho = 1.06;

double ms(double kmh) {
  return kmh / 3.6;
}

// A straight line of `celle` cells at one speed and gradient, its train of `vetture` cars
// braked at `massa_frenata` per cent; stations are written straight into the entries.
struct Linea {
  Linea(int celle, int kmh, int pendenza = 0, int vetture = 0, int massa_frenata = 100) {
    s.percorso.resize(static_cast<size_t>(celle));
    for (Cella& c : s.percorso) {
      c.velocita_massima = static_cast<uint8_t>(kmh / 5);
      c.pendenza_cella = static_cast<uint8_t>(100 + pendenza);
    }
    s.voci[kVoceTreno].progressiva_voce = vetture;
    s.voci[kVoceTreno].inizio_area = massa_frenata;
  }
  // A station of category 30, which the train stops at or passes at its position.
  void stazione(int voce, int32_t posizione, int32_t orario, uint8_t sosta = 0) {
    Voce& v = s.voci[static_cast<size_t>(voce)];
    v.progressiva_voce = posizione;
    v.categoria = 30;
    v.orario = orario;
    v.marca_3 = sosta;
    v.testo = "S" + std::to_string(voce);
  }
  void velocita(int da_cella, int a_cella, int kmh) {
    for (int k = da_cella; k <= a_cella; ++k) {
      s.percorso[static_cast<size_t>(k)].velocita_massima = static_cast<uint8_t>(kmh / 5);
    }
  }
  Scenario s;
};

// Parameters that make the acceleration on the flat constant: no resistance, a power no speed
// reaches, and the effort that gives `a` to a train of `vetture` cars.
ParametriMarcia accelerazione_costante(double a, int vetture = 0) {
  ParametriMarcia p;
  p.potenza_kw = 1e9;
  p.resistenza_costante = 0;
  p.resistenza_quadratica = 0;
  const double massa_kg = (80.0 + 44.0 * vetture) * 1000;
  p.sforzo_massimo_kn = a * kRho * massa_kg / 1000;
  return p;
}

// The time over x metres from rest to rest at accelerations a and d under a ceiling v.
double tempo_trapezio(double x, double v, double a, double d) {
  const double salita = v * v / (2 * a);
  const double discesa = v * v / (2 * d);
  if (salita + discesa <= x) {
    return v / a + v / d + (x - salita - discesa) / v;
  }
  const double picco = std::sqrt(2 * a * d * x / (a + d));
  return picco / a + picco / d;
}

// The train's ceiling with the head at x.
double tetto_a(const Marcia& m, int64_t x) {
  for (const TettoTreno& t : m.profilo.tetto_treno) {
    if (t.da_m <= x && x <= t.a_m) {
      return t.velocita_ms;
    }
  }
  ADD_FAILURE() << "nessun tetto a " << x;
  return 0;
}

// The profile is held in single precision.
constexpr double kFloat = 1e-5;

double velocita_a(const Marcia& m, int64_t x) {
  return m.profilo.velocita_ms.at(static_cast<size_t>(x - m.profilo.inizio_m));
}

double tempo_a(const Marcia& m, int64_t x) {
  return m.profilo.tempo_s.at(static_cast<size_t>(x - m.profilo.inizio_m));
}

TEST(Marcia, TestiDegliEsiti) {
  EXPECT_EQ(testo_esito(EsitoTratta::ok), "ok");
  EXPECT_EQ(testo_esito(EsitoTratta::stretto), "stretto");
  EXPECT_EQ(testo_esito(EsitoTratta::impossibile), "impossibile");
  EXPECT_EQ(testo_esito(EsitoTratta::impossibile_con_ogni_treno), "impossibile-con-ogni-treno");
}

// Uniform acceleration, cruise and uniform braking, on the flat and on gradients: the
// gradient takes g i / 1000 from the acceleration and gives it to the braking, which never
// falls below its minimum.
TEST(Marcia, AccelerazioneCostanteTempoEsatto) {
  const struct {
    const char* caso;
    int metri;
    int kmh;
    double a;  // on the flat
    int pendenza;
    int massa_frenata;
    double a_attesa;
    double d_attesa;
  } casi[] = {
      {"piano", 10000, 100, 0.5, 0, 100, 0.5, 0.6},
      {"piano, meta' massa frenata", 10000, 140, 0.3, 0, 50, 0.3, 0.3},
      {"piano, frenatura al massimo", 10000, 140, 0.3, 0, 200, 0.3, 1.0},
      {"piano, senza crociera", 1000, 120, 0.5, 0, 100, 0.5, 0.6},
      {"salita del 10", 10000, 100, 0.5, 10, 100, 0.5 - kG * 0.010, 0.6 + kG * 0.010},
      {"discesa del 10", 10000, 100, 0.5, -10, 100, 0.5 + kG * 0.010, 0.6 - kG * 0.010},
      {"discesa del 70: frenatura minima", 20000, 60, 0.5, -70, 100, 0.5 + kG * 0.070, 0.05},
  };
  for (const auto& c : casi) {
    Linea l(c.metri / 50 + 100, c.kmh, c.pendenza, 0, c.massa_frenata);
    l.stazione(1, 0, 3600);
    l.stazione(2, c.metri, 3600 + 600);
    const Marcia m = verifica_marcia(l.s, accelerazione_costante(c.a));
    ASSERT_TRUE(m.difetto.empty()) << c.caso << ": " << m.difetto;
    ASSERT_EQ(m.tratte.size(), 1u) << c.caso;
    const Tratta& t = m.tratte[0];
    const double atteso = tempo_trapezio(c.metri, ms(c.kmh), c.a_attesa, c.d_attesa);
    EXPECT_NEAR(t.piu_veloce_s, atteso, 0.005 * atteso) << c.caso;
    EXPECT_NEAR(m.profilo.tempo_s.back(), t.piu_veloce_s, kFloat * t.piu_veloce_s) << c.caso;
    EXPECT_EQ(t.metri, c.metri) << c.caso;
    EXPECT_EQ(t.programmato_s, 600) << c.caso;
    EXPECT_NEAR(t.limite_s, c.metri / ms(c.kmh), 1e-9) << c.caso;
    EXPECT_NEAR(t.margine_s, 600 - t.piu_veloce_s, 1e-9) << c.caso;
  }
}

// The last part of the run: the speed at s metres before the stop is sqrt(2 d s), from the
// point v^2 / 2d before it.
TEST(Marcia, FrenaturaDaVAZeroInVQuadroSuDueD) {
  const double d = 0.6;
  const double v = ms(100);
  Linea l(300, 100);
  l.stazione(1, 0, 3600);
  l.stazione(2, 10000, 3600 + 600);
  const Marcia m = verifica_marcia(l.s, accelerazione_costante(0.5));
  const double spazio = v * v / (2 * d);
  EXPECT_NEAR(velocita_a(m, 10000 - static_cast<int64_t>(spazio) - 2), v, kFloat);
  EXPECT_LT(velocita_a(m, 10000 - static_cast<int64_t>(spazio) + 2), v);
  for (int64_t s : {1, 10, 100, 300, 600}) {
    const double attesa = std::sqrt(2 * d * static_cast<double>(s));
    EXPECT_NEAR(velocita_a(m, 10000 - s), attesa, 0.005 * attesa) << s;
  }
  EXPECT_EQ(velocita_a(m, 10000), 0);
  const double t = tempo_a(m, 10000) - tempo_a(m, 10000 - static_cast<int64_t>(spazio) - 2);
  EXPECT_NEAR(t, v / d + 2 / v, 0.005 * (v / d));
}

// Above the speed at which the power limits the effort, the speed cubed grows linearly with
// the distance (no resistance): v^3 = vc^3 + 3 k (x - xc), with k the power per unit of
// inertia; the time is vc / F + (v^2 - vc^2) / 2k.
TEST(Marcia, APotenzaCostante) {
  ParametriMarcia p;
  p.resistenza_costante = 0;
  p.resistenza_quadratica = 0;
  const double inerzia = kRho * 80000;
  const double sforzo = 200000 / inerzia;
  const double k = 3000000 / inerzia;
  const double vc = 3000.0 / 200.0;
  const double xc = vc * vc / (2 * sforzo);
  Linea l(500, 250);
  l.stazione(1, 0, 3600);
  l.stazione(2, 20000, 3600 + 900);
  const Marcia m = verifica_marcia(l.s, p);
  for (int64_t x : {20, 500, 1000, 2000, 3000}) {
    double v = std::sqrt(2 * sforzo * static_cast<double>(x));
    double t = v / sforzo;
    if (static_cast<double>(x) > xc) {
      v = std::cbrt(vc * vc * vc + 3 * k * (static_cast<double>(x) - xc));
      t = vc / sforzo + (v * v - vc * vc) / (2 * k);
    }
    EXPECT_NEAR(velocita_a(m, x), v, 0.005 * v) << x;
    EXPECT_NEAR(tempo_a(m, x), t, 0.005 * t) << x;
  }
}

// A constant effort against the resistance: a = A - B v^2, so v^2 = (A / B)(1 - e^(-2 B x)).
TEST(Marcia, ControLaResistenza) {
  ParametriMarcia p = accelerazione_costante(0.5);
  p.resistenza_costante = 2;
  p.resistenza_quadratica = 0.001;
  const double a = 0.5 - kG * 2 / 1000 / kRho;
  const double b = kG * 0.001 * 3.6 * 3.6 / 1000 / kRho;
  Linea l(500, 250);
  l.stazione(1, 0, 3600);
  l.stazione(2, 20000, 3600 + 900);
  const Marcia m = verifica_marcia(l.s, p);
  for (int64_t x : {10, 500, 2000, 5000}) {
    const double v = std::sqrt(a / b * (1 - std::exp(-2 * b * static_cast<double>(x))));
    EXPECT_NEAR(velocita_a(m, x), v, 0.005 * v) << x;
  }
}

// Cells 0 to 39 at 50 km/h end at 1975 m: a train of 72 m may go faster from 2047 m on.
TEST(Marcia, LaVelocitaSaleQuandoLaCodaEPassata) {
  const double a = 0.5;
  const double d = 0.6;
  const double v1 = ms(50);
  const double v2 = ms(100);
  Linea l(300, 100, 0, 2);
  l.velocita(0, 39, 50);
  l.stazione(1, 0, 3600);
  l.stazione(2, 10000, 3600 + 600);
  const Marcia m = verifica_marcia(l.s, accelerazione_costante(a, 2));
  ASSERT_TRUE(m.difetto.empty()) << m.difetto;
  for (int64_t x = 1900; x <= 2047; ++x) {
    EXPECT_LE(velocita_a(m, x), v1 + kFloat) << x;
  }
  EXPECT_GT(velocita_a(m, 2048), v1 + 0.01);
  EXPECT_NEAR(tetto_a(m, 2047), v1, kFloat);
  EXPECT_NEAR(tetto_a(m, 2048), v2, kFloat);
  const double salita_1 = v1 * v1 / (2 * a);
  const double salita_2 = (v2 * v2 - v1 * v1) / (2 * a);
  const double discesa = v2 * v2 / (2 * d);
  const double atteso = v1 / a + (2047 - salita_1) / v1 + (v2 - v1) / a +
                        (10000 - 2047 - salita_2 - discesa) / v2 + v2 / d;
  EXPECT_NEAR(m.tratte.at(0).piu_veloce_s, atteso, 0.005 * atteso);
}

// A slow-down at 40 km/h from cell 60 through cell 70 holds from 2975 m to 3525 m, and the
// train of 20 m keeps it until its tail has left it.
TEST(Marcia, UnRallentamento) {
  const double a = 0.5;
  const double d = 0.6;
  const double v = ms(100);
  const double r = ms(40);
  Linea l(300, 100);
  l.s.percorso[60].genere = kInizioRallentamento;
  l.s.percorso[60].valore_1 = 40;
  l.s.percorso[70].genere = kFineRallentamento;
  l.s.percorso[70].valore_1 = 40;
  l.stazione(1, 0, 3600);
  l.stazione(2, 10000, 3600 + 600);
  const Marcia m = verifica_marcia(l.s, accelerazione_costante(a));
  EXPECT_EQ(m.tetto_celle_kmh[59], 100);
  EXPECT_EQ(m.tetto_celle_kmh[60], 40);
  EXPECT_EQ(m.tetto_celle_kmh[70], 40);
  EXPECT_EQ(m.tetto_celle_kmh[71], 100);
  for (int64_t x = 2975; x <= 3545; ++x) {
    EXPECT_LE(velocita_a(m, x), r + kFloat) << x;
  }
  EXPECT_GT(velocita_a(m, 2965), r + 0.1);
  EXPECT_GT(velocita_a(m, 3555), r + 0.1);
  const double salita = v * v / (2 * a);
  const double frenata = (v * v - r * r) / (2 * d);
  const double ripresa = (v * v - r * r) / (2 * a);
  const double discesa = v * v / (2 * d);
  const double atteso = v / a + (2975 - frenata - salita) / v + (v - r) / d + (3545 - 2975) / r +
                        (v - r) / a + (10000 - 3545 - ripresa - discesa) / v + v / d;
  EXPECT_NEAR(m.tratte.at(0).piu_veloce_s, atteso, 0.005 * atteso);
}

// A point passed without a stop splits the run's time, and the train does not slow there.
TEST(Marcia, UnPuntoDiPassaggio) {
  const double a = 0.5;
  const double d = 0.6;
  const double v = ms(100);
  Linea l(300, 100);
  l.stazione(1, 0, 3600);
  l.stazione(2, 5000, 3600 + 200);
  l.stazione(3, 10000, 3600 + 370, 30);
  const Marcia m = verifica_marcia(l.s, accelerazione_costante(a));
  ASSERT_EQ(m.tratte.size(), 2u);
  EXPECT_NEAR(velocita_a(m, 5000), v, kFloat);
  const double primo = v / a + (5000 - v * v / (2 * a)) / v;
  const double secondo = (5000 - v * v / (2 * d)) / v + v / d;
  EXPECT_NEAR(m.tratte[0].piu_veloce_s, primo, 0.005 * primo);
  EXPECT_NEAR(m.tratte[1].piu_veloce_s, secondo, 0.005 * secondo);
  EXPECT_EQ(m.tratte[0].programmato_s, 200);
  // The last point's time is its arrival, whatever its stop.
  EXPECT_EQ(m.tratte[1].programmato_s, 170);
  EXPECT_EQ(m.tratte[1].voce_da, 2);
  EXPECT_EQ(m.tratte[1].voce_a, 3);
  EXPECT_EQ(m.tratte[1].da, "S2");
  EXPECT_EQ(m.tratte[1].a, "S3");
  EXPECT_EQ(m.tratte[1].da_m, 5000);
  EXPECT_EQ(m.tratte[1].a_m, 10000);
}

// An intermediate stop brings the train to rest, and its stop is not in the stretch.
TEST(Marcia, UnaFermataIntermedia) {
  const double a = 0.5;
  const double d = 0.6;
  const double v = ms(100);
  Linea l(300, 100);
  l.stazione(1, 0, 3600);
  l.stazione(2, 5000, 3600 + 300, 60);
  l.stazione(3, 10000, 3600 + 600);
  const Marcia m = verifica_marcia(l.s, accelerazione_costante(a));
  ASSERT_EQ(m.tratte.size(), 2u);
  EXPECT_EQ(velocita_a(m, 5000), 0);
  EXPECT_EQ(m.tratte[0].programmato_s, 240);
  EXPECT_EQ(m.tratte[1].programmato_s, 300);
  const double atteso = tempo_trapezio(5000, v, a, d);
  EXPECT_NEAR(m.tratte[0].piu_veloce_s, atteso, 0.005 * atteso);
  EXPECT_NEAR(m.tratte[1].piu_veloce_s, atteso, 0.005 * atteso);
}

// The verdicts against the scheduled time: below the ceilings alone, below the fastest run,
// within 3 % of it, or beyond.
TEST(Marcia, Esiti) {
  Linea l(300, 100);
  l.stazione(1, 0, 3600);
  l.stazione(2, 10000, 3600 + 1);
  const ParametriMarcia p = accelerazione_costante(0.5);
  const Marcia prova = verifica_marcia(l.s, p);
  const double limite = prova.tratte.at(0).limite_s;
  const double veloce = prova.tratte.at(0).piu_veloce_s;
  ASSERT_NEAR(limite, 360, 1e-9);
  const struct {
    int64_t programmato;
    EsitoTratta esito;
  } casi[] = {
      {359, EsitoTratta::impossibile_con_ogni_treno},
      {361, EsitoTratta::impossibile},
      {static_cast<int64_t>(std::floor(veloce)), EsitoTratta::impossibile},
      {static_cast<int64_t>(std::ceil(veloce)), EsitoTratta::stretto},
      {static_cast<int64_t>(std::floor(veloce * 1.03)), EsitoTratta::stretto},
      {static_cast<int64_t>(std::ceil(veloce * 1.03)), EsitoTratta::ok},
      {-60, EsitoTratta::impossibile_con_ogni_treno},
  };
  for (const auto& c : casi) {
    l.s.voci[2].orario = static_cast<int32_t>(3600 + c.programmato);
    EXPECT_EQ(verifica_marcia(l.s, p).tratte.at(0).esito, c.esito) << c.programmato;
  }
  ParametriMarcia largo = p;
  largo.soglia_stretto_percento = 10;
  l.s.voci[2].orario = static_cast<int32_t>(3600 + std::ceil(veloce * 1.05));
  EXPECT_EQ(verifica_marcia(l.s, p).tratte.at(0).esito, EsitoTratta::ok);
  EXPECT_EQ(verifica_marcia(l.s, largo).tratte.at(0).esito, EsitoTratta::stretto);
}

// A cell at 0 km/h stops every train: both times are infinite.
TEST(Marcia, UnaCellaFerma) {
  Linea l(300, 100);
  l.velocita(100, 100, 0);
  l.stazione(1, 0, 3600);
  l.stazione(2, 8000, 3600 + 400);
  l.stazione(3, 10000, 3600 + 600);
  const Marcia m = verifica_marcia(l.s, ParametriMarcia{});
  ASSERT_EQ(m.tratte.size(), 2u);
  EXPECT_EQ(m.tratte[0].limite_s, std::numeric_limits<double>::infinity());
  EXPECT_EQ(m.tratte[0].piu_veloce_s, std::numeric_limits<double>::infinity());
  EXPECT_EQ(m.tratte[0].esito, EsitoTratta::impossibile_con_ogni_treno);
  EXPECT_TRUE(std::isfinite(m.tratte[1].piu_veloce_s));
}

TEST(Marcia, NessunaCorsa) {
  Linea l(300, 100);
  l.stazione(1, 0, 3600);
  const Marcia una = verifica_marcia(l.s, ParametriMarcia{});
  EXPECT_TRUE(una.difetto.empty());
  EXPECT_TRUE(una.tratte.empty());
  EXPECT_TRUE(una.profilo.velocita_ms.empty());
  EXPECT_EQ(una.tetto_celle_kmh.size(), 300u);

  l.stazione(2, 5000, 3700);
  ParametriMarcia p;
  p.potenza_kw = 0;
  EXPECT_EQ(verifica_marcia(l.s, p).difetto, "potenza_kw deve essere maggiore di 0, non 0.000000");
  l.s.voci[kVoceTreno].progressiva_voce = -2;
  const Marcia m = verifica_marcia(l.s, ParametriMarcia{});
  EXPECT_EQ(m.difetto, "il numero di carrozze e' negativo: -2");
  EXPECT_TRUE(m.tratte.empty());
}

const Marcia& incorporata() {
  static const Marcia m = verifica_marcia(scenario_incorporato().s, ParametriMarcia{});
  return m;
}

TEST(MarciaIncorporata, DaTrecentoACentomilaottocentocinquanta) {
  const Marcia& m = incorporata();
  ASSERT_TRUE(m.difetto.empty()) << m.difetto;
  EXPECT_EQ(m.profilo.inizio_m, 300);
  EXPECT_EQ(m.profilo.inizio_m + static_cast<int64_t>(m.profilo.velocita_ms.size()) - 1, 100850);
  EXPECT_EQ(m.profilo.tempo_s.size(), m.profilo.velocita_ms.size());
  ASSERT_FALSE(m.profilo.tetto_treno.empty());
  EXPECT_EQ(m.profilo.tetto_treno.front().da_m, 300);
  EXPECT_EQ(m.profilo.tetto_treno.back().a_m, 100850);
  for (size_t i = 1; i < m.profilo.tetto_treno.size(); ++i) {
    EXPECT_EQ(m.profilo.tetto_treno[i].da_m, m.profilo.tetto_treno[i - 1].a_m + 1);
    EXPECT_NE(m.profilo.tetto_treno[i].velocita_ms, m.profilo.tetto_treno[i - 1].velocita_ms);
  }
  EXPECT_EQ(m.tetto_celle_kmh.size(), scenario_incorporato().s.percorso.size());
  ASSERT_EQ(m.tratte.size(), 17u);
  EXPECT_EQ(m.tratte.front().da, "TAVENA");
  EXPECT_EQ(m.tratte.front().a, "MORSELLO");
  EXPECT_EQ(m.tratte.front().da_m, 300);
  for (const TettoTreno& t : m.profilo.tetto_treno) {
    for (int64_t x = t.da_m; x <= t.a_m; ++x) {
      ASSERT_LE(velocita_a(m, x), t.velocita_ms) << x;
    }
  }
  for (const Tratta& t : m.tratte) {
    EXPECT_EQ(t.metri, t.a_m - t.da_m);
    EXPECT_GT(t.piu_veloce_s, t.limite_s) << t.a;
  }
}

// 625 m at 75 km/h, 1200 m at 65 and 1225 m at 30: 4 min 3 s against 3 min.
TEST(MarciaIncorporata, LUltimaTrattaEImpossibileConOgniTreno) {
  const Tratta& t = incorporata().tratte.back();
  EXPECT_EQ(t.da, "CROSTIA");
  EXPECT_EQ(t.a, "CROSTIA C.L.V.");
  EXPECT_EQ(t.voce_da, 28);
  EXPECT_EQ(t.voce_a, 29);
  EXPECT_EQ(t.metri, 3050);
  EXPECT_EQ(t.programmato_s, 180);
  EXPECT_NEAR(t.limite_s, 625 * 3.6 / 75 + 1200 * 3.6 / 65 + 1225 * 3.6 / 30, 1e-9);
  EXPECT_EQ(static_cast<int>(t.limite_s), 4 * 60 + 3);
  EXPECT_EQ(t.esito, EsitoTratta::impossibile_con_ogni_treno);
  EXPECT_LT(t.margine_s, -63);
}

// The slow-down of 9200 to 9500 m at 70 km/h holds from 9225 m until the tail, 150 m behind
// the head, has left 9575 m.
TEST(MarciaIncorporata, IlRallentamentoFinoAlPassaggioDellaCoda) {
  const Marcia& m = incorporata();
  for (int64_t x = 9225; x <= 9575 + 150; ++x) {
    ASSERT_LE(velocita_a(m, x), ms(70) + kFloat) << x;
  }
  EXPECT_GT(velocita_a(m, 9575 + 150 + 20), ms(70));
}

// The check needs nothing but the entry and track files: read back, they give the same.
TEST(MarciaIncorporata, DaiFileRiletti) {
  const ScenarioCompilato& c = scenario_incorporato();
  const LetturaVoci voci = leggi_voci(c.voci);
  const LetturaPercorso percorso = leggi_percorso(c.percorso);
  ASSERT_TRUE(voci.difetti.empty());
  ASSERT_TRUE(percorso.difetti.empty());
  const Marcia m = verifica_marcia(voci.voci, percorso.percorso, ParametriMarcia{});
  const Marcia& attesa = incorporata();
  ASSERT_EQ(m.tratte.size(), attesa.tratte.size());
  for (size_t i = 0; i < m.tratte.size(); ++i) {
    EXPECT_EQ(m.tratte[i].piu_veloce_s, attesa.tratte[i].piu_veloce_s) << i;
    EXPECT_EQ(m.tratte[i].limite_s, attesa.tratte[i].limite_s) << i;
    EXPECT_EQ(m.tratte[i].esito, attesa.tratte[i].esito) << i;
  }
  EXPECT_EQ(m.profilo.velocita_ms, attesa.profilo.velocita_ms);
}

// A previous result's storage, of a longer run with more stretches, leaves nothing behind.
TEST(MarciaIncorporata, NelloSpazioDiUnaPrecedente) {
  Linea l(3000, 100);
  l.stazione(1, 0, 3600);
  l.stazione(2, 140000, 3600 + 6000);
  const Marcia breve =
      verifica_marcia(l.s.voci, l.s.percorso, ParametriMarcia{},
                      verifica_marcia(scenario_incorporato().s, ParametriMarcia{}));
  const Marcia nuova = verifica_marcia(l.s, ParametriMarcia{});
  EXPECT_EQ(breve.profilo.velocita_ms, nuova.profilo.velocita_ms);
  EXPECT_EQ(breve.profilo.tempo_s, nuova.profilo.tempo_s);
  EXPECT_EQ(breve.profilo.tetto_treno.size(), nuova.profilo.tetto_treno.size());
  EXPECT_EQ(breve.tetto_celle_kmh, nuova.tetto_celle_kmh);
  ASSERT_EQ(breve.tratte.size(), 1u);
  EXPECT_EQ(breve.tratte[0].piu_veloce_s, nuova.tratte[0].piu_veloce_s);
  EXPECT_EQ(breve.tratte[0].a, "S2");

  const ScenarioCompilato& c = scenario_incorporato();
  const Marcia di_nuovo =
      verifica_marcia(c.s.voci, c.s.percorso, ParametriMarcia{}, Marcia(incorporata()));
  EXPECT_EQ(di_nuovo.profilo.velocita_ms, incorporata().profilo.velocita_ms);
  ASSERT_EQ(di_nuovo.tratte.size(), incorporata().tratte.size());
  EXPECT_EQ(di_nuovo.tratte.back().limite_s, incorporata().tratte.back().limite_s);
}

}  // namespace
