#include "strumenti/lingua_scenario/analisi_sorgente.h"

#include <gtest/gtest.h>

namespace {

const char* const kTreno =
    "[generale]\r\n"
    "velocita, 0, 100\r\n"
    "stazione, 1000, 4, 400, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA\r\n"
    "segnale, 2000, 1,0,0,0, 0, 0,0,0,0, 0\r\n"
    "[fine]\r\n";

const char* const kLinea =
    "[generale]\r\n"
    "lunghezza percorso, 20000\r\n"
    "progressiva chilometrica uno, 0, 0, 1\r\n"
    "[curve]\r\n"
    "curvas4, 100, 200\r\n"
    "[fine]\r\n";

TEST(AnalisiSorgente, TheOutlineHoldsEachSectionWithItsRows) {
  const TestoEditor t(kTreno);
  const std::vector<SimboloSorgente> s = simboli(SorgenteLetta(t, GenereSorgente::treno));
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].nome, "[generale]");
  EXPECT_EQ(s[0].genere, GenereSimbolo::sezione);
  EXPECT_EQ(s[0].selezione, (TrattoByte{{0, 0}, {0, 10}}));
  // The section runs to the end of its last row with a symbol, the signal's.
  EXPECT_EQ(s[0].tratto, (TrattoByte{{0, 0}, {3, 37}}));
  ASSERT_EQ(s[0].figli.size(), 2u);
  EXPECT_EQ(s[0].figli[0].nome, "CITTA (1000 m)");
  EXPECT_EQ(s[0].figli[0].genere, GenereSimbolo::stazione);
  EXPECT_EQ(s[0].figli[0].tratto.inizio.riga, 2);
  EXPECT_EQ(s[0].figli[1].nome, "segnale 2000");
  EXPECT_EQ(s[0].figli[1].genere, GenereSimbolo::altro);
  EXPECT_EQ(s[1].nome, "[fine]");
  EXPECT_TRUE(s[1].figli.empty());
}

TEST(AnalisiSorgente, CompletionOffersTheRowsOfTheLinesSection) {
  const TestoEditor linea(kLinea);
  const TestoEditor treno(kTreno);
  const TestoEditor prima("-- nota\r\n[generale]\r\n");
  const SorgenteLetta l(linea, GenereSorgente::linea);
  const SorgenteLetta t(treno, GenereSorgente::treno);
  const SorgenteLetta p(prima, GenereSorgente::linea);
  struct Caso {
    const SorgenteLetta* s;
    int riga;
    const char* prima;  // nullptr: no row there
    size_t quante;
  };
  const Caso casi[] = {
      {&l, 0, "lunghezza percorso", 8},
      {&l, 4, "pendenza", 6},
      {&t, 1, "percentuale massa frenata", 10},
      {&p, 0, nullptr, 0},  // before the general section no row is taken
      {&p, 1, "lunghezza percorso", 8},
  };
  for (const Caso& c : casi) {
    const auto voci = completamento(*c.s, c.riga);
    ASSERT_TRUE(voci.has_value()) << c.riga;
    ASSERT_EQ(voci->size(), c.quante) << c.riga;
    if (c.prima != nullptr) {
      EXPECT_EQ(voci->front().parola, c.prima);
    }
  }
  EXPECT_FALSE(completamento(l, 99).has_value());
  EXPECT_FALSE(completamento(l, -1).has_value());
  const std::vector<VoceCompletamento> curve = *completamento(l, 4);
  EXPECT_EQ(curve[1].parola, "curvas");
  EXPECT_TRUE(curve[1].con_classe);
  EXPECT_EQ(curve[1].campi, (std::vector<std::string>{"inizio", "lunghezza"}));
  EXPECT_FALSE(curve[0].con_classe);
}

TEST(AnalisiSorgente, TheSignatureFollowsTheFieldUnderThePlace) {
  const TestoEditor t(kTreno);
  const SorgenteLetta s(t, GenereSorgente::treno);
  struct Caso {
    int colonna;
    int attivo;
  };
  // "velocita, 0, 100": the keyword to byte 8, the first value with the space before it from
  // byte 9, the second from byte 12.
  for (const Caso c : {Caso{0, 0}, Caso{8, 0}, Caso{9, 0}, Caso{11, 0}, Caso{12, 1}, Caso{16, 1}}) {
    const std::optional<FirmaRiga> f = firma(s, {1, c.colonna});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->attivo, c.attivo) << c.colonna;
  }
  const FirmaRiga f = *firma(s, {1, 0});
  EXPECT_EQ(f.etichetta, "velocita, posizione, velocita");
  ASSERT_EQ(f.parametri.size(), 2u);
  EXPECT_EQ(f.parametri[0].documentazione, "posizione (m): da 0 a 2147483647 m");
  EXPECT_EQ(f.parametri[1].documentazione, "velocita (km/h): da 0 a 1277 km/h");
  EXPECT_FALSE(firma(s, {0, 0}).has_value());  // a header is no row
  EXPECT_FALSE(firma(s, {40, 0}).has_value());
}

TEST(AnalisiSorgente, TheDescriptionSaysWhatTheRowBecomes) {
  const TestoEditor linea(kLinea);
  const TestoEditor treno(kTreno);
  const Compilazione c = compila(linea.byte_1252(), treno.byte_1252(), {"Prova", "1", true});
  const SorgenteLetta s(treno, GenereSorgente::treno);
  const std::optional<DescrizioneRiga> d = descrizione(s, 2, c);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->parola, "stazione");
  ASSERT_GE(d->voci.size(), 2u);
  EXPECT_EQ(d->voci[0], "cella 20");
  EXPECT_NE(std::find(d->voci.begin(), d->voci.end(), "velocita massima: 100 km/h"), d->voci.end());
  const SorgenteLetta l(linea, GenereSorgente::linea);
  const std::optional<DescrizioneRiga> curva = descrizione(l, 4, c);
  ASSERT_TRUE(curva.has_value());
  EXPECT_NE(std::find(curva->voci.begin(), curva->voci.end(), "raggio: 1000 m"), curva->voci.end());
  EXPECT_NE(std::find(curva->voci.begin(), curva->voci.end(), "fine della curva: 300 m"),
            curva->voci.end());
  EXPECT_FALSE(descrizione(s, 0, c).has_value());
  EXPECT_FALSE(descrizione(s, 99, c).has_value());
}

TEST(AnalisiSorgente, FormattingIsOneChangeOfTheWholeTextOrNone) {
  struct Caso {
    const char* testo;
    const char* atteso;  // nullptr: no change
  };
  const Caso casi[] = {
      {"velocita, 0, 30\r\nvelocita,   800,85\r\n", "velocita, 0,   30\r\nvelocita, 800, 85\r\n"},
      {"velocita, 0,   30\r\nvelocita, 800, 85\r\n", nullptr},
      // A character without a byte would be lost: the text is left as it is.
      {"velocita, 0, 30 \xe2\x98\x83\r\nvelocita,   800,85\r\n", nullptr},
  };
  for (const Caso& c : casi) {
    const TestoEditor t(c.testo);
    const std::vector<ModificaTesto> m = formattazione(t);
    if (c.atteso == nullptr) {
      EXPECT_TRUE(m.empty()) << c.testo;
      continue;
    }
    ASSERT_EQ(m.size(), 1u) << c.testo;
    EXPECT_EQ(m[0].testo, c.atteso);
    EXPECT_EQ(m[0].tratto, (TrattoByte{{0, 0}, {2, 0}}));
  }
}

TEST(AnalisiSorgente, AFieldRunsToTheNextCommaOrSpace) {
  const TestoEditor t("velocita, 800,85\r\nx, ,\r\n");
  struct Caso {
    int riga;
    int colonna;  // from 1
    TrattoByte tratto;
  };
  const Caso casi[] = {
      {1, 1, {{0, 0}, {0, 8}}},     // the keyword
      {1, 11, {{0, 10}, {0, 13}}},  // "800"
      {1, 15, {{0, 14}, {0, 16}}},  // "85", to the line's end
      {2, 3, {{1, 2}, {1, 3}}},     // an empty field gets the byte there
      {1, 30, {{0, 29}, {0, 29}}},  // past the line's end
      {0, 5, {}},                   // the file as a whole
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(tratto_del_campo(t, c.riga, c.colonna), c.tratto) << c.riga << ":" << c.colonna;
  }
}

}  // namespace
