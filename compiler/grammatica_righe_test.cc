#include "compiler/grammatica_righe.h"

#include <gtest/gtest.h>

#include <string>

#include "compiler/compila.h"

namespace {

// A source pair holding `riga` in the section of kind `f`, and a valid rest.
Compilazione compila_con(const FormaRiga& f, const std::string& riga) {
  std::string linea = "[generale]\r\nlunghezza percorso, 20000\r\n";
  std::string treno = "[generale]\r\n";
  if (f.sezione == Sezione::linea_generale) {
    linea += riga;
  }
  linea += "[curve]\r\n";
  if (f.sezione == Sezione::linea_principale) {
    linea += riga;
  }
  if (f.sezione == Sezione::treno) {
    treno += riga;
  }
  linea += "[fine]\r\n";
  treno += "[fine]\r\n";
  return compila(linea, treno, {"Prova", "1", true});
}

// A value that any field of width `l` takes.
std::string valore_comune(LarghezzaCampo l) {
  switch (l) {
    case LarghezzaCampo::bit_32:
      return "1000";
    case LarghezzaCampo::bit_16:
    case LarghezzaCampo::bit_8:
      return "1";
    case LarghezzaCampo::testo:
      return "TESTO";
  }
  return "";
}

// The row of kind `f` as the examples write it, each value one its field takes, but value `k`
// (from 0), which is `valore_k`.
std::string riga_di(const FormaRiga& f, size_t k = SIZE_MAX, const std::string& valore_k = "") {
  std::string riga(f.parola);
  if (f.solo_con_tracciato) {
    riga += "5";
  }
  for (size_t i = 0; i < f.campi.size(); ++i) {
    riga += ", " + (i == k ? valore_k : valore_comune(f.campi[i].larghezza));
  }
  return riga + "\r\n";
}

// Each keyword of the table, in a row of its section with as many values as the table has
// fields, is one the parse takes whole: no warning of an unknown row or of values left over,
// and the table finds its own kind first for it.
TEST(GrammaticaRighe, EveryKindIsOneTheParseTakesWhole) {
  for (const FormaRiga& f : forme_righe()) {
    const Compilazione c = compila_con(f, riga_di(f));
    for (const Avviso& a : c.avvisi) {
      EXPECT_NE(a.tipo, TipoAvviso::riga_sconosciuta) << f.parola << ": " << a.testo;
      EXPECT_NE(a.tipo, TipoAvviso::valori_in_piu) << f.parola << ": " << a.testo;
    }
    std::string parola(f.parola);
    if (f.solo_con_tracciato) {
      parola += "5";
    }
    EXPECT_EQ(forma_della_riga(f.sezione, parola, true), &f) << parola;
  }
}

// The width the table gives each number field is the one the parse reads it in: one past the
// width's largest value stops the compile with code 25 at that field, the largest does not.
TEST(GrammaticaRighe, EachNumberFieldIsReadInItsWidth) {
  for (const FormaRiga& f : forme_righe()) {
    for (size_t k = 0; k < f.campi.size(); ++k) {
      int64_t massimo = 0;
      switch (f.campi[k].larghezza) {
        case LarghezzaCampo::bit_32:
          massimo = INT32_MAX;
          break;
        case LarghezzaCampo::bit_16:
          massimo = INT16_MAX;
          break;
        case LarghezzaCampo::bit_8:
          massimo = UINT8_MAX;
          break;
        case LarghezzaCampo::testo:
          continue;
      }
      const std::string campo = std::string(f.parola) + " " + std::string(f.campi[k].nome);
      const Compilazione oltre = compila_con(f, riga_di(f, k, std::to_string(massimo + 1)));
      ASSERT_FALSE(oltre.problemi.empty()) << campo;
      EXPECT_EQ(oltre.problemi.front().codice, 25) << campo;
      if (f.campi[k].larghezza != LarghezzaCampo::bit_32) {
        // A narrow field takes its width's largest value; a wide one may mean a place past
        // the line, so only its overflow is checked.
        const Compilazione dentro = compila_con(f, riga_di(f, k, std::to_string(massimo)));
        for (const Problema& p : dentro.problemi) {
          EXPECT_NE(p.codice, 25) << campo << ": " << p.motivo;
        }
      }
    }
  }
}

TEST(GrammaticaRighe, CurvesAreRowsOnlyWhenAPlanIsBuilt) {
  EXPECT_EQ(forma_della_riga(Sezione::linea_principale, "curvad4", true)->codice,
            CodiceForma::curva_destra);
  EXPECT_EQ(forma_della_riga(Sezione::linea_principale, "CURVAS4", true)->codice,
            CodiceForma::curva_sinistra);
  EXPECT_EQ(forma_della_riga(Sezione::linea_principale, "curvad4", false), nullptr);
}

// The keyword tests that are more than one word: case, order and the words of another kind.
TEST(GrammaticaRighe, KeywordsAreMatchedByTheirWords) {
  struct Caso {
    Sezione sezione;
    const char* parola;
    const char* forma;  // nullptr: no kind
  };
  const Caso casi[] = {
      {Sezione::linea_generale, "LUNGHEZZA del PERCORSO", "lunghezza percorso"},
      {Sezione::linea_generale, "progressiva chilometrica tre", "progressiva chilometrica tre"},
      {Sezione::linea_generale, "Progressiva chilometrica tre", nullptr},
      {Sezione::linea_generale, "sfondo due", "sfondo due"},
      {Sezione::linea_generale, "ripetizione dei segnali a 9 codici",
       "ripetizione segnali 4 codici"},
      {Sezione::linea_principale, "indicatore cartello", "cartello_indicatore"},
      {Sezione::linea_principale, "indicatori_vmax", "indicatori_vmax"},
      {Sezione::treno, "massa frenata", "percentuale massa frenata"},
      {Sezione::treno, "massa", nullptr},
      {Sezione::treno, "Velocità", "velocita"},
      {Sezione::treno, "stazione", "stazione"},
      {Sezione::treno, "pendenza", nullptr},
  };
  for (const Caso& c : casi) {
    const FormaRiga* f = forma_della_riga(c.sezione, c.parola, true);
    if (c.forma == nullptr) {
      EXPECT_EQ(f, nullptr) << c.parola;
    } else {
      ASSERT_NE(f, nullptr) << c.parola;
      EXPECT_EQ(f->parola, c.forma) << c.parola;
    }
  }
}

TEST(GrammaticaRighe, EachSectionIsOneRunOfTheTable) {
  size_t n = 0;
  for (const Sezione s : {Sezione::linea_generale, Sezione::linea_principale, Sezione::treno}) {
    const std::span<const FormaRiga> forme = forme_della_sezione(s);
    EXPECT_FALSE(forme.empty());
    for (const FormaRiga& f : forme) {
      EXPECT_EQ(f.sezione, s) << f.parola;
    }
    n += forme.size();
  }
  EXPECT_EQ(n, forme_righe().size());
  EXPECT_TRUE(forme_della_sezione(Sezione::prima_di_generale).empty());
}

TEST(GrammaticaRighe, HeadersAndComments) {
  EXPECT_TRUE(apre_generale("  [GENERALE] "));
  EXPECT_FALSE(apre_generale("[generali]"));
  EXPECT_TRUE(intestazione_di_sezione("[curve]"));
  EXPECT_FALSE(intestazione_di_sezione("-- [curve]"));
  EXPECT_FALSE(intestazione_di_sezione("[curve"));
  EXPECT_TRUE(commento("-- nota"));
  EXPECT_FALSE(commento("stazione"));
}

}  // namespace
