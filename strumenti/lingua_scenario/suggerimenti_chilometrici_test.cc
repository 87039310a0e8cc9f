#include "strumenti/lingua_scenario/suggerimenti_chilometrici.h"

#include <gtest/gtest.h>

#include "app/form_load.h"
#include "sources/codifica_1252.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "strumenti/ispezione/riepilogo.h"

namespace {

struct CoppiaIncorporata {
  TestoEditor linea{da_1252(testo_delle_righe(dati_linea()))};
  TestoEditor treno{da_1252(testo_delle_righe(dati_treno()))};
  Compilazione c = compila(linea.byte_1252(), treno.byte_1252(), {kNomeScenario, kNumeroTreno});
};

const CoppiaIncorporata& incorporata() {
  static const CoppiaIncorporata k;
  return k;
}

// The hint of the line of the train source that begins with `inizio`, after its value `k`.
std::string suggerimento(const std::string& inizio, size_t valore = 0) {
  const CoppiaIncorporata& k = incorporata();
  const SorgenteLetta s(k.treno, GenereSorgente::treno);
  for (int r = 0; r < s.righe(); ++r) {
    if (!s.riga(r).starts_with(inizio)) {
      continue;
    }
    for (const SuggerimentoCampo& h : suggerimenti_chilometrici(s, r, r, k.c)) {
      if (h.punto.colonna == s.letta(r).valori.at(valore).fine) {
        return h.testo;
      }
    }
    return "nessun suggerimento";
  }
  return "nessuna riga";
}

// Each station's hint is the kilometre reading of the inspector's table.
TEST(SuggerimentiChilometrici, TheStationsReadAsTheInspectorsTable) {
  const CoppiaIncorporata& k = incorporata();
  const Riepilogo r = riepiloga(TracciatoLetto{}, k.c.scenario.voci, k.c.scenario.percorso);
  struct Caso {
    const char* riga;
    const char* km;  // as the inspector's table shows it
  };
  const Caso casi[] = {
      {"stazione,       0,", "100.950"}, {"stazione,   10900,", "90.050"},
      {"stazione,   14350,", "86.600"},  {"stazione,   50650,", "50.300"},
      {"stazione,   97800,", "3.150"},   {"stazione,  100750,", "314.050"},
  };
  for (const Caso& c : casi) {
    const int32_t posizione = std::stoi(std::string(c.riga).substr(9));
    const auto st = std::find_if(r.stazioni.begin(), r.stazioni.end(),
                                 [&](const StazioneLetta& s) { return s.posizione == posizione; });
    ASSERT_NE(st, r.stazioni.end()) << c.riga;
    EXPECT_EQ(chilometri(st->chilometrica), c.km) << c.riga;
    EXPECT_EQ(suggerimento(c.riga), std::string("km ") + c.km) << c.riga;
  }
}

// A signal stands in the cell after its position: the hint says which. A slow-down has one
// chainage, its start; its length is no chainage.
TEST(SuggerimentiChilometrici, ItemsInTheCellAfterSayTheirCell) {
  EXPECT_EQ(suggerimento("segnale,    4500,"), "km 96.450, cella 91");
  const CoppiaIncorporata& k = incorporata();
  const SorgenteLetta s(k.treno, GenereSorgente::treno);
  const std::vector<SuggerimentoCampo> tutti = suggerimenti_chilometrici(s, 0, s.righe(), k.c);
  for (const SuggerimentoCampo& h : tutti) {
    const RigaDelSorgente& l = s.letta(h.punto.riga);
    const FormaRiga* f = forma_della_riga(l.sezione, l.parola, true);
    ASSERT_NE(f, nullptr);
    size_t campo = 0;
    while (l.valori[campo].fine != h.punto.colonna) {
      ++campo;
    }
    EXPECT_TRUE(f->campi[campo].progressiva) << s.riga(h.punto.riga);
  }
  EXPECT_GT(tutti.size(), 30u);
  EXPECT_TRUE(suggerimenti_chilometrici(s, 5, 4, k.c).empty());
  EXPECT_TRUE(suggerimenti_chilometrici(s, -10, -1, k.c).empty());
}

// Without a kilometre reference that applies there is no reading, and no hint.
TEST(SuggerimentiChilometrici, NoReadingNoHint) {
  const TestoEditor linea("[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n");
  const TestoEditor treno("[generale]\r\nvelocita, 0, 100\r\nvelocita, dieci, 100\r\n[fine]\r\n");
  const Compilazione c = compila(linea.byte_1252(), treno.byte_1252(), {"Prova", "1"});
  EXPECT_TRUE(
      suggerimenti_chilometrici(SorgenteLetta(treno, GenereSorgente::treno), 0, 9, c).empty());
  const TestoEditor con_riferimento(
      "[generale]\r\nlunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 5000, 0\r\n"
      "[fine]\r\n");
  const Compilazione d = compila(con_riferimento.byte_1252(), treno.byte_1252(), {"Prova", "1"});
  const std::vector<SuggerimentoCampo> h =
      suggerimenti_chilometrici(SorgenteLetta(treno, GenereSorgente::treno), 0, 9, d);
  ASSERT_EQ(h.size(), 1u);  // "dieci" is no number
  EXPECT_EQ(h[0].punto, (PuntoByte{1, 11}));
}

}  // namespace
