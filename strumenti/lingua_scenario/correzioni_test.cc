#include "strumenti/lingua_scenario/correzioni.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "strumenti/comune/diagnosi_compilazione.h"

namespace {

const char* const kLinea = "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n[fine]\r\n";
const char* const kTreno = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";
const char* const kStazione = "stazione, 1000, 4, 400, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA";

// The problems of the pair, each in the file "L" or "T".
std::vector<Diagnosi> problemi(const std::string& linea, const std::string& treno) {
  const Compilazione c = compila(linea, treno, {"Prova", "1"});
  return diagnosi_della_compilazione(
      c, {{"L", "Prova_linea.txt", linea}, {"T", "Prova_1-.txt", treno}});
}

bool stesso_codice(const Diagnosi& d, const std::variant<std::monostate, int32_t, std::string>& c) {
  return d.codice == c;
}

// The text with the changes made, each at places of the text before any of them.
std::string applica(const std::string& testo, std::vector<ModificaTesto> modifiche) {
  std::vector<size_t> inizi = {0};
  for (size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\n') {
      inizi.push_back(i + 1);
    }
  }
  const auto scarto = [&](PuntoByte p) {
    return inizi.at(static_cast<size_t>(p.riga)) + static_cast<size_t>(p.colonna);
  };
  std::sort(modifiche.begin(), modifiche.end(),
            [&](const ModificaTesto& a, const ModificaTesto& b) {
              return scarto(a.tratto.inizio) > scarto(b.tratto.inizio);
            });
  std::string fatto = testo;
  for (const ModificaTesto& m : modifiche) {
    const size_t da = scarto(m.tratto.inizio);
    fatto.replace(da, scarto(m.tratto.fine) - da, m.testo);
  }
  return fatto;
}

std::string con(const std::string& riga) {
  return "[generale]\r\n" + riga + "\r\n[fine]\r\n";
}

// Each repair applied, the result compiled: the problem is gone, and no other has come.
TEST(Correzioni, EachRepairCompilesWithoutItsProblem) {
  using Codice = std::variant<std::monostate, int32_t, std::string>;
  struct Caso {
    bool nella_linea;
    std::string sorgente;
    Codice codice;
    std::string titolo;
    std::string corretta;
  };
  const Caso casi[] = {
      {false, con("stazione, 1025, 4, 400, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA"), int32_t{8},
       "posizione 1000, il multiplo di 50 piu' vicino", con(kStazione)},
      {false, con("stazione, 1040, 4, 400, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA"), int32_t{8},
       "posizione 1050, il multiplo di 50 piu' vicino",
       con("stazione, 1050, 4, 400, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA")},
      {false, con("stazione, 1000, 4, 450, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA"), int32_t{9},
       "lunghezza 400, il multiplo di 100 piu' vicino", con(kStazione)},
      {false, con("stazione, 1000, 4, 470, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA"), int32_t{9},
       "lunghezza 500, il multiplo di 100 piu' vicino",
       con("stazione, 1000, 4, 500, 1,0,0, 4,1,0, 2,1,1, 60, 6,0,0, CITTA")},
      {false, con("segnalle, 2000, 1,0,0,0, 0, 0,0,0,0, 0"), std::string("riga-sconosciuta"),
       "parola chiave segnale", con("segnale, 2000, 1,0,0,0, 0, 0,0,0,0, 0")},
      {false, con("  Velocta  , 0, 100"), std::string("riga-sconosciuta"), "parola chiave velocita",
       con("  velocita  , 0, 100")},
      {true, "[generale]\r\nlunghezza percoso, 20000\r\n[fine]\r\n",
       std::string("riga-sconosciuta"), "parola chiave lunghezza percorso",
       "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n"},
      {true, "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\ncurvs4, 100, 200\r\n[fine]\r\n",
       std::string("riga-sconosciuta"), "parola chiave curvas4",
       "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\ncurvas4, 100, 200\r\n[fine]\r\n"},
      {false, con("velocita, 0, 100, 5, 6"), std::string("valori-in-piu"), "togli i valori in piu'",
       con("velocita, 0, 100")},
      {false, con("velocita, 0, 100   7"), std::string("valori-in-piu"), "togli i valori in piu'",
       con("velocita, 0, 100")},
      {false, "velocita, 0, 100\r\n[generale]\r\n[fine]\r\n", std::string("prima-di-generale"),
       "sposta la riga sotto [generale]", "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n"},
      {false, "velocita, 0, 100\r\n-- nota\r\n[generale]", std::string("prima-di-generale"),
       "sposta la riga sotto [generale]", "-- nota\r\n[generale]\r\nvelocita, 0, 100"},
  };
  for (const Caso& c : casi) {
    const std::string linea = c.nella_linea ? c.sorgente : kLinea;
    const std::string treno = c.nella_linea ? kTreno : c.sorgente;
    const std::vector<Diagnosi> prima = problemi(linea, treno);
    const auto d = std::find_if(prima.begin(), prima.end(),
                                [&](const Diagnosi& x) { return stesso_codice(x, c.codice); });
    ASSERT_NE(d, prima.end()) << c.sorgente;
    EXPECT_EQ(d->posto.file, c.nella_linea ? "L" : "T");
    const TestoEditor testo(c.sorgente);
    const std::optional<Correzione> k = correzione(
        SorgenteLetta(testo, c.nella_linea ? GenereSorgente::linea : GenereSorgente::treno), *d);
    ASSERT_TRUE(k.has_value()) << c.sorgente;
    EXPECT_EQ(k->titolo, c.titolo);
    const std::string corretta = applica(c.sorgente, k->modifiche);
    EXPECT_EQ(corretta, c.corretta);
    const std::vector<Diagnosi> dopo =
        problemi(c.nella_linea ? corretta : linea, c.nella_linea ? treno : corretta);
    for (const Diagnosi& x : dopo) {
      ADD_FAILURE() << c.sorgente << " corretta ha ancora: " << x.messaggio;
    }
  }
}

// No repair where none is obvious: a word far from every keyword, a curve without its class,
// a problem of another kind, or a text that no longer reads as the problem says.
TEST(Correzioni, NoneWhereNoRepairIsObvious) {
  struct Caso {
    std::string treno;
    Diagnosi d;
  };
  const auto avviso = [](const char* tipo, int riga, int colonna) {
    return Diagnosi{Gravita::avviso, {"T", riga, colonna}, std::string(tipo), "", "", {}};
  };
  const Caso casi[] = {
      {con("zzzzzz, 1, 2"), avviso("riga-sconosciuta", 2, 1)},
      {con("velocita, 0, 100"), avviso("riga-sconosciuta", 2, 5)},  // not at the keyword
      {con("velocita, 0, 100"), avviso("fuori-ordine", 2, 1)},
      {con("velocita, 0, 100"), avviso("valori-in-piu", 2, 17)},     // nothing after the values
      {con("velocita, 0, 100"), avviso("prima-di-generale", 2, 1)},  // under the header already
      {con("velocita, 0, 100"), avviso("riga-sconosciuta", 9, 1)},   // no such line
      {con("stazione, 10a5, 4"), {Gravita::errore, {"T", 2, 11}, int32_t{8}, "", "", {}}},
      {con("stazione, 1000, 4"), {Gravita::errore, {"T", 2, 11}, int32_t{15}, "", "", {}}},
  };
  for (const Caso& c : casi) {
    const TestoEditor t(c.treno);
    EXPECT_FALSE(correzione(SorgenteLetta(t, GenereSorgente::treno), c.d).has_value()) << c.treno;
  }
  const TestoEditor curva("[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\ncurvs, 1, 2\r\n");
  EXPECT_FALSE(
      correzione(SorgenteLetta(curva, GenereSorgente::linea), avviso("riga-sconosciuta", 4, 1)));
}

TEST(Correzioni, TheEditDistance) {
  struct Caso {
    const char* a;
    const char* b;
    size_t distanza;
  };
  const Caso casi[] = {{"", "", 0},
                       {"segnale", "segnale", 0},
                       {"SEGNALE", "segnale", 0},
                       {"segnalle", "segnale", 1},
                       {"velocta", "velocita", 1},
                       {"", "abc", 3},
                       {"kitten", "sitting", 3}};
  for (const Caso& c : casi) {
    EXPECT_EQ(distanza_di_modifica(c.a, c.b), c.distanza) << c.a << " " << c.b;
    EXPECT_EQ(distanza_di_modifica(c.b, c.a), c.distanza) << c.b << " " << c.a;
  }
}

}  // namespace
