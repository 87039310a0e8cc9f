#include "strumenti/ispezione/confronto.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/disco_in_memoria.h"
#include "prove/scenario_compilato.h"
#include "strumenti/compila_scenario/compilazione_sorgenti.h"

namespace {

struct Sorgenti {
  std::string linea;
  std::string treno;
};

// The built-in scenario's two sources, as an author starts from them.
const Sorgenti& esempio() {
  static const Sorgenti s = [] {
    piattaforma::DiscoInMemoria disco;
    const auto percorsi = scrivi_esempio(disco, "/es");
    return Sorgenti{disco.leggi(percorsi[0]), disco.leggi(percorsi[1])};
  }();
  return s;
}

struct Compilato {
  Ispezione ispezione;
  Riepilogo riepilogo;
};

Compilato compila(const Sorgenti& s) {
  const ScenarioCompilato c = compila_sorgenti(s.linea, s.treno);
  Compilato out;
  out.ispezione = ispeziona_byte({"Prova", "1"}, c.tracciato, c.voci, c.percorso);
  out.riepilogo = riepiloga(out.ispezione.tracciato, out.ispezione.voci, out.ispezione.percorso);
  return out;
}

const Compilato& originale() {
  static const Compilato c = compila(esempio());
  return c;
}

std::string sostituisci(std::string testo, const std::string& da, const std::string& a) {
  const size_t dove = testo.find(da);
  EXPECT_NE(dove, std::string::npos) << da;
  if (dove != std::string::npos) {
    testo.replace(dove, da.size(), a);
  }
  return testo;
}

TEST(Confronto, LoStessoScenarioNonCambia) {
  const Compilato& c = originale();
  EXPECT_EQ(confronta(c.ispezione, c.riepilogo, c.ispezione, c.riepilogo),
            std::vector<Cambiamento>{});
  EXPECT_EQ(testo_cambiamenti({}), "");
}

struct Caso {
  const char* nome;
  bool linea;  // the edit is in the line source, else in the train source
  const char* da;
  const char* a;
  const char* cosa;         // the kind of the change expected
  int32_t inizio;           // where it starts
  const char* descrizione;  // the text it must say
};

const Caso kCasi[] = {
    {"stazione spostata", false, "stazione,   10900,", "stazione,   11000,", "stazione", 10900,
     "stazione MORSELLO spostata da 10900 m a 11000 m"},
    {"orario", false, "60,   6,29, 0, MORSELLO", "60,   6,31, 0, MORSELLO", "orario", 10900,
     "stazione MORSELLO: orario da 6:29:00 a 6:31:00"},
    {"segnale spostato", false, "segnale,    4500,", "segnale,    4600,", "segnale", 4500,
     "segnale tolto a 4500 m"},
    {"limite", false, "velocita,    2050,   105", "velocita,    2050,   110", "velocita", 2050,
     "velocita' massima cambiata da 2050 m a 5950 m: 105 km/h -> 110 km/h"},
    {"rallentamento", false, "rallentamento,    9200,    70", "rallentamento,    9200,    60",
     "rallentamento", 9200, "rallentamento a 60 km/h da 9200 m a 9500 m aggiunto"},
    // The longer curve turns the same way for its first 300 m: the plan parts after them.
    {"curva", true, "curvad5,  1650 , 300", "curvad5,  1650 , 350", "pianta", 1951,
     "pianta cambiata da 1951 m"},
};

void PrintTo(const Caso& c, std::ostream* os) {
  *os << c.nome;
}

class UnaModifica : public testing::TestWithParam<Caso> {};

TEST_P(UnaModifica, SiDiceDoveE) {
  const Caso& caso = GetParam();
  Sorgenti s = esempio();
  std::string& testo = caso.linea ? s.linea : s.treno;
  testo = sostituisci(testo, caso.da, caso.a);
  const Compilato dopo = compila(s);
  const auto cambiamenti =
      confronta(originale().ispezione, originale().riepilogo, dopo.ispezione, dopo.riepilogo);
  ASSERT_FALSE(cambiamenti.empty());
  bool trovato = false;
  for (const Cambiamento& c : cambiamenti) {
    if (c.cosa == caso.cosa && c.descrizione.find(caso.descrizione) != std::string::npos) {
      trovato = true;
      EXPECT_TRUE(c.sulla_linea);
      EXPECT_LE(std::abs(c.da - caso.inizio), 1) << c.descrizione;
    }
    // Nothing far from the edit is reported, except the plan downstream of a curve.
    if (c.cosa != "pianta") {
      EXPECT_GE(c.a, caso.inizio - 1500) << c.descrizione;
    }
  }
  EXPECT_TRUE(trovato) << testo_cambiamenti(cambiamenti);
  for (size_t k = 1; k < cambiamenti.size(); ++k) {
    EXPECT_LE(cambiamenti[k - 1].da, cambiamenti[k].da) << "non in ordine di marcia";
  }
}

INSTANTIATE_TEST_SUITE_P(Casi, UnaModifica, testing::ValuesIn(kCasi),
                         [](const testing::TestParamInfo<Caso>& i) {
                           std::string n = i.param.nome;
                           for (char& c : n) {
                             c = c == ' ' ? '_' : c;
                           }
                           return n;
                         });

TEST(Confronto, IlTestoEIlJsonDiconoIlPosto) {
  const std::vector<Cambiamento> c = {
      {0, 0, false, "generale", "vetture da 5 a 6"},
      {1250, 1250, true, "segnale", "segnale aggiunto a 1250 m (tempo 0)"},
      {2050, 5950, true, "velocita", "velocita' massima cambiata"},
  };
  EXPECT_EQ(testo_cambiamenti(c),
            "scenario: vetture da 5 a 6\n"
            "1250 m: segnale aggiunto a 1250 m (tempo 0)\n"
            "2050-5950 m: velocita' massima cambiata\n");
  const auto j = json_cambiamenti(c);
  ASSERT_EQ(j.size(), 3u);
  EXPECT_TRUE(j[0]["da"].is_null());
  EXPECT_EQ(j[2]["da"], 2050);
  EXPECT_EQ(j[2]["a"], 5950);
  EXPECT_EQ(j[1]["cosa"], "segnale");
}

}  // namespace
