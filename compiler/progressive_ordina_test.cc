#include "compiler/progressive_ordina.h"

#include <gtest/gtest.h>

#include <array>

#include "compiler/errore_esecuzione.h"

namespace {

using Terne = std::array<std::array<int32_t, 3>, 3>;  // slots T, D, U

Terne ordina(const Terne& ingresso) {
  Scenario s;
  const int slot[3] = {kVoceProgressivaTre, kVoceProgressivaDue, kVoceProgressivaUno};
  for (int i = 0; i < 3; ++i) {
    s.voci[slot[i]].inizio_area = ingresso[i][0];
    s.voci[slot[i]].fine_area = ingresso[i][1];
    s.voci[slot[i]].progressiva_voce = ingresso[i][2];
  }
  progressive_ordina(s);
  Terne uscita;
  for (int i = 0; i < 3; ++i) {
    uscita[i] = {s.voci[slot[i]].inizio_area, s.voci[slot[i]].fine_area,
                 s.voci[slot[i]].progressiva_voce};
  }
  return uscita;
}

TEST(ProgressiveOrdina, Casi) {
  const struct {
    const char* nome;
    Terne ingresso, atteso;
  } casi[] = {
      {"riferimenti della linea",
       {{{0, 0, 0}, {98250, 213400, 0}, {0, 100950, 1}}},
       {{{98250, 213400, 0}, {0, 101050, 1}, {0, 0, 0}}}},
      {"gia in ordine",
       {{{30, 1, 0}, {20, 2, 0}, {10, 3, 0}}},
       {{{30, 1, 0}, {20, 2, 0}, {10, 3, 0}}}},
      {"ordine inverso",
       {{{10, 1, 0}, {20, 2, 0}, {30, 3, 0}}},
       {{{30, 3, 0}, {20, 2, 0}, {10, 1, 0}}}},
      {"massimo centrale, resto in ordine inverso",
       {{{10, 1, 0}, {30, 2, 0}, {20, 3, 0}}},
       {{{30, 2, 0}, {20, 3, 0}, {10, 1, 0}}}},
      {"parita sul massimo",
       {{{0, 1, 1}, {10, 2, 1}, {10, 3, 1}}},
       {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
      {"posizioni nulle, tutti i valori positivi",
       {{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}}},
       {{{0, 3, 0}, {0, 2, 0}, {0, 1, 0}}}},
      {"posizioni nulle, solo D positivo",
       {{{0, 0, 0}, {0, 500, 1}, {0, -7, 0}}},
       {{{0, 600, 1}, {0, 0, 0}, {0, -7, 0}}}},
      {"posizioni nulle, nessun valore positivo",
       {{{0, -1, 1}, {0, 0, 1}, {0, -5, 0}}},
       {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
      {"tutto nullo", {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}, {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
      // The positions are not looked at when they add up to 0.
      {"somma nulla con posizioni non nulle",
       {{{-10, 1, 0}, {10, 2, 0}, {0, 3, 0}}},
       {{{0, 3, 0}, {10, 2, 0}, {-10, 1, 0}}}},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(ordina(c.ingresso), c.atteso) << c.nome;
  }
}

TEST(ProgressiveOrdina, SommaSenzaTraboccamentoEAggiuntaControllata) {
  EXPECT_EQ(ordina({{{INT32_MAX, 1, 0}, {INT32_MAX, 2, 0}, {2, 3, 0}}}),
            (Terne{{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}));
  EXPECT_THROW(ordina({{{10, INT32_MAX - 50, 1}, {0, 0, 0}, {0, 0, 0}}}), ErroreEsecuzione);
}

}  // namespace
