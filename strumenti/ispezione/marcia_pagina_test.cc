#include "strumenti/ispezione/marcia_pagina.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"

namespace {

using nlohmann::ordered_json;

// A run of `metri` metres: uniform acceleration a from rest to v, cruise, uniform braking d.
ProfiloMarcia corsa_uniforme(int64_t inizio, size_t metri, double a, double v, double d) {
  ProfiloMarcia p;
  p.inizio_m = inizio;
  double t = 0;
  for (size_t i = 0; i < metri; ++i) {
    const double x = static_cast<double>(i);
    const double dopo = static_cast<double>(metri - 1) - x;
    const double w = std::min({v, std::sqrt(2 * a * x), std::sqrt(2 * d * dopo)});
    if (i > 0) {
      t += 2 / (w + p.velocita_ms.back());
    }
    p.velocita_ms.push_back(static_cast<float>(w));
    p.tempo_s.push_back(static_cast<float>(t));
  }
  return p;
}

// The reduced run, read back by straight lines between its points, against every metre.
struct Scarto {
  double velocita_kmh = 0;
  double tempo_s = 0;
};
Scarto scarto_massimo(const ProfiloMarcia& p, const std::vector<PuntoCorsa>& r) {
  Scarto s;
  size_t k = 0;
  for (size_t i = 0; i < p.velocita_ms.size(); ++i) {
    const int64_t m = p.inizio_m + static_cast<int64_t>(i);
    while (k + 2 < r.size() && r[k + 1].metro <= m) {
      ++k;
    }
    const PuntoCorsa& a = r[k];
    const PuntoCorsa& b = r[k + 1];
    const double f = static_cast<double>(m - a.metro) / static_cast<double>(b.metro - a.metro);
    s.velocita_kmh = std::max(s.velocita_kmh, std::abs(a.velocita_kmh + f * (b.velocita_kmh -
                                                       a.velocita_kmh) - p.velocita_ms[i] * 3.6));
    if (std::isfinite(p.tempo_s[i])) {
      s.tempo_s = std::max(s.tempo_s,
                           std::abs(a.tempo_s + f * (b.tempo_s - a.tempo_s) - p.tempo_s[i]));
    }
  }
  return s;
}

TEST(MarciaPagina, LaCorsaRidottaStaNelleTolleranze) {
  struct Caso {
    const char* nome;
    size_t metri;
    double a, v, d;
  } casi[] = {
      {"breve, senza crociera", 800, 0.5, 40, 0.6},
      {"con crociera", 20000, 0.4, 30, 0.8},
      {"accelerazione lenta", 12000, 0.05, 25, 0.05},
  };
  for (const Caso& c : casi) {
    const ProfiloMarcia p = corsa_uniforme(300, c.metri, c.a, c.v, c.d);
    const std::vector<PuntoCorsa> r = corsa_ridotta(p, kTolleranzaVelocitaKmh, kTolleranzaTempoS);
    ASSERT_GE(r.size(), 2u) << c.nome;
    EXPECT_EQ(r.front().metro, 300) << c.nome;
    EXPECT_EQ(r.back().metro, 300 + static_cast<int64_t>(c.metri) - 1) << c.nome;
    EXPECT_EQ(r.back().velocita_kmh, 0) << c.nome;
    const Scarto s = scarto_massimo(p, r);
    EXPECT_LE(s.velocita_kmh, kTolleranzaVelocitaKmh + 1e-6) << c.nome;
    EXPECT_LE(s.tempo_s, kTolleranzaTempoS + 1e-6) << c.nome;
    EXPECT_LT(r.size(), c.metri / 10) << c.nome << ": " << r.size() << " punti";
  }
  // A cruise at one speed is two points, however long.
  const ProfiloMarcia p = corsa_uniforme(0, 40000, 100, 30, 100);
  const std::vector<PuntoCorsa> r = corsa_ridotta(p, kTolleranzaVelocitaKmh, kTolleranzaTempoS);
  size_t in_crociera = 0;
  for (const PuntoCorsa& q : r) {
    in_crociera += q.metro > 100 && q.metro < 39900 ? 1 : 0;
  }
  EXPECT_LE(in_crociera, 2u);
}

// Once the run cannot go on, its times are infinite: no line joins a finite time to them.
TEST(MarciaPagina, UnTempoInfinitoNonSiUnisceAiFiniti) {
  ProfiloMarcia p = corsa_uniforme(0, 3000, 0.5, 20, 0.5);
  for (size_t i = 1800; i < p.tempo_s.size(); ++i) {
    p.velocita_ms[i] = 20;
    p.tempo_s[i] = std::numeric_limits<float>::infinity();
  }
  const std::vector<PuntoCorsa> r = corsa_ridotta(p, kTolleranzaVelocitaKmh, kTolleranzaTempoS);
  int passaggi = 0;
  for (size_t k = 0; k + 1 < r.size(); ++k) {
    if (std::isfinite(r[k].tempo_s) != std::isfinite(r[k + 1].tempo_s)) {
      ++passaggi;
      EXPECT_EQ(r[k].metro, 1799);
      EXPECT_EQ(r[k + 1].metro, 1800);
    }
  }
  EXPECT_EQ(passaggi, 1);
  EXPECT_LE(scarto_massimo(p, r).tempo_s, kTolleranzaTempoS + 1e-6);
}

ordered_json dati_del_incorporato() {
  const ScenarioCompilato& c = scenario_incorporato();
  return dati_marcia(verifica_marcia(c.s, ParametriMarcia{}), c.s.voci, c.s.percorso);
}

TEST(MarciaPagina, LoScenarioIncorporato) {
  const ordered_json d = dati_del_incorporato();
  // The ceiling's steps follow one another from 0 to the line's end.
  const ordered_json& tetto = d["tetto"];
  ASSERT_GT(tetto.size(), 3u);
  EXPECT_EQ(tetto.front()[0], 0);
  for (size_t k = 1; k < tetto.size(); ++k) {
    EXPECT_EQ(tetto[k][0], tetto[k - 1][1]) << k;
    EXPECT_NE(tetto[k][2], tetto[k - 1][2]) << k;
  }
  // The slow-down of cells 185 to 191 holds from 9225 to 9575 m; the line has three.
  ASSERT_EQ(d["rallentamenti"].size(), 3u);
  EXPECT_EQ(d["rallentamenti"][0], ordered_json::parse("[9225, 9575, 70]"));
  // The run from TAVENA's marker to the last stop, at rest at both ends.
  const ordered_json& corsa = d["corsa"];
  EXPECT_EQ(corsa.front(), ordered_json::parse("[300, 0, 0]"));
  EXPECT_EQ(corsa.back()[0], 100850);
  EXPECT_EQ(corsa.back()[1], 0);
  EXPECT_LT(corsa.size(), 3000u);
  // The train's ceiling, where the run is.
  EXPECT_EQ(d["tetto_treno"].front()[0], 300);
  EXPECT_EQ(d["tetto_treno"].back()[1], 100850);
  // A timed point more than stretches; the last stretch is impossible for any train.
  const ordered_json& tratte = d["tratte"];
  ASSERT_FALSE(tratte.empty());
  EXPECT_EQ(d["punti"].size(), tratte.size() + 1);
  const ordered_json& ultima = tratte.back();
  EXPECT_EQ(ultima["da"], "CROSTIA");
  EXPECT_EQ(ultima["a"], "CROSTIA C.L.V.");
  EXPECT_EQ(ultima["metri"], 3050);
  EXPECT_EQ(ultima["programmato_s"], 180);
  EXPECT_EQ(ultima["esito"], "impossibile-con-ogni-treno");
  EXPECT_GT(ultima["limite_s"].get<double>(), 240);
  EXPECT_EQ(d["punti"].back()["metro"], 100850);
  EXPECT_EQ(d["punti"].back()["arrivo"], 8 * 3600 + 15 * 60);
  EXPECT_EQ(d.contains("difetto"), false);
}

// The check of the longest line stays a small part of its page.
TEST(MarciaPagina, LaLineaPiuLungaRestaPiccola) {
  const SorgentiEstese e = sorgenti_estese(1000000);
  const ScenarioCompilato c = compila_sorgenti(e.linea, e.treno);
  const Marcia m = verifica_marcia(c.s, ParametriMarcia{});
  ASSERT_FALSE(m.tratte.empty());
  const ordered_json d = dati_marcia(m, c.s.voci, c.s.percorso);
  EXPECT_LT(d["corsa"].size(), m.profilo.velocita_ms.size() / 50);
  EXPECT_LT(d.dump().size(), 600'000u) << d["corsa"].size() << " punti della corsa";
}

// A run of 1000 km, ten times the built-in one end to end, keeps as many points as the ten
// runs do, and its points stay small.
TEST(MarciaPagina, UnaCorsaDiMilleChilometri) {
  const ScenarioCompilato& c = scenario_incorporato();
  const ProfiloMarcia una = verifica_marcia(c.s, ParametriMarcia{}).profilo;
  const size_t punti_di_una =
      corsa_ridotta(una, kTolleranzaVelocitaKmh, kTolleranzaTempoS).size();
  ProfiloMarcia dieci;
  dieci.inizio_m = una.inizio_m;
  for (int k = 0; k < 10; ++k) {
    const float dopo = dieci.tempo_s.empty() ? 0 : dieci.tempo_s.back();
    for (size_t i = dieci.velocita_ms.empty() ? 0 : 1; i < una.velocita_ms.size(); ++i) {
      dieci.velocita_ms.push_back(una.velocita_ms[i]);
      dieci.tempo_s.push_back(dopo + una.tempo_s[i]);
    }
  }
  ASSERT_GT(dieci.velocita_ms.size(), 1'000'000u);
  const std::vector<PuntoCorsa> r = corsa_ridotta(dieci, kTolleranzaVelocitaKmh, kTolleranzaTempoS);
  EXPECT_LE(r.size(), 10 * punti_di_una);
  const Scarto s = scarto_massimo(dieci, r);
  EXPECT_LE(s.velocita_kmh, kTolleranzaVelocitaKmh + 1e-3);
  EXPECT_LE(s.tempo_s, kTolleranzaTempoS + 1e-2);
  ordered_json j = ordered_json::array();
  for (const PuntoCorsa& p : r) {
    j.push_back({p.metro, std::round(p.velocita_kmh * 10) / 10, std::round(p.tempo_s * 10) / 10});
  }
  EXPECT_LT(j.dump().size(), 200'000u);
}

// A check without a run: no points, no stretches, and the reason.
TEST(MarciaPagina, SenzaCorsa) {
  const ScenarioCompilato& c = scenario_incorporato();
  ParametriMarcia p;
  p.potenza_kw = -1;
  const ordered_json d = dati_marcia(verifica_marcia(c.s, p), c.s.voci, c.s.percorso);
  EXPECT_TRUE(d["corsa"].empty());
  EXPECT_TRUE(d["tratte"].empty());
  EXPECT_TRUE(d["punti"].empty());
  EXPECT_FALSE(d["tetto"].empty());
  EXPECT_NE(d.value("difetto", ""), "");
}

}  // namespace
