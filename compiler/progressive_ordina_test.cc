#include "compiler/progressive_ordina.h"

#include <gtest/gtest.h>

#include <array>

#include "compiler/errore_esecuzione.h"

namespace {

using Terne = std::array<std::array<int32_t, 3>, 3>;  // slots T, D, U

constexpr int kSlot[3] = {kVoceProgressivaTre, kVoceProgressivaDue, kVoceProgressivaUno};

Scenario con_terne(const Terne& ingresso) {
  Scenario s;
  for (int i = 0; i < 3; ++i) {
    s.voci[kSlot[i]].inizio_area = ingresso[i][0];
    s.voci[kSlot[i]].fine_area = ingresso[i][1];
    s.voci[kSlot[i]].progressiva_voce = ingresso[i][2];
  }
  return s;
}

Terne terne(const Scenario& s) {
  Terne uscita;
  for (int i = 0; i < 3; ++i) {
    uscita[i] = {s.voci[kSlot[i]].inizio_area, s.voci[kSlot[i]].fine_area,
                 s.voci[kSlot[i]].progressiva_voce};
  }
  return uscita;
}

Terne ordina(const Terne& ingresso) {
  Scenario s = con_terne(ingresso);
  progressive_ordina(s);
  return terne(s);
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

// Which entry each triple came from, so that the rows it was read from can follow it.
TEST(ProgressiveOrdina, DiceDaQualeVoceVieneOgniTerna) {
  const struct {
    const char* nome;
    Terne ingresso;
    std::array<int, 3> origini;
  } casi[] = {
      {"riferimenti della linea",
       {{{0, 0, 0}, {98250, 213400, 0}, {0, 100950, 1}}},
       {kVoceProgressivaDue, kVoceProgressivaUno, kVoceProgressivaTre}},
      {"gia in ordine", {{{30, 1, 0}, {20, 2, 0}, {10, 3, 0}}}, {81, 82, 83}},
      {"parita sul massimo", {{{0, 1, 1}, {10, 2, 1}, {10, 3, 1}}}, {0, 0, 0}},
      {"posizioni nulle, solo D positivo",
       {{{0, 0, 0}, {0, 500, 1}, {0, -7, 0}}},
       {kVoceProgressivaDue, kVoceProgressivaTre, kVoceProgressivaUno}},
  };
  for (const auto& c : casi) {
    Scenario s = con_terne(c.ingresso);
    EXPECT_EQ(progressive_ordina(s), c.origini) << c.nome;
  }
}

// The triples move whole before any 100 is added: when an addition does not fit, every
// entry holds a whole moved triple, those before it with their 100 added.
TEST(ProgressiveOrdina, UnAggiuntaCheNonStaLasciaLeTerneIntere) {
  Scenario s = con_terne({{{10, INT32_MAX - 50, 1}, {20, 5, 1}, {0, 7, 0}}});
  EXPECT_THROW(progressive_ordina(s), ErroreEsecuzione);
  EXPECT_EQ(terne(s), (Terne{{{20, 105, 1}, {10, INT32_MAX - 50, 1}, {0, 7, 0}}}));
}

TEST(ProgressiveOrdina, SommaSenzaTraboccamentoEAggiuntaControllata) {
  EXPECT_EQ(ordina({{{INT32_MAX, 1, 0}, {INT32_MAX, 2, 0}, {2, 3, 0}}}),
            (Terne{{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}));
  EXPECT_THROW(ordina({{{10, INT32_MAX - 50, 1}, {0, 0, 0}, {0, 0, 0}}}), ErroreEsecuzione);
}

}  // namespace
