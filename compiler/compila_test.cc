#include "compiler/compila.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "prove/sorgenti_di_prova.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

using Righe = std::vector<std::string>;

std::string testo(const Righe& righe) {
  std::string t;
  for (const std::string& r : righe) {
    t += r + "\r\n";
  }
  return t;
}

OpzioniCompilazione prova() {
  return {"Prova", "1", true};
}

constexpr const char* L = "Prova_linea.txt";
constexpr const char* T = "Prova_1-.txt";

// A problem as a test names it: its code and where it was found.
struct Atteso {
  int32_t codice;
  const char* file;
  int riga, colonna;
};

// Each case's problems in the order the compile met them, its end, which sources its parse
// deleted, and whether the run would write its files.
TEST(Compila, OgniProblemaInOrdineConIlSuoLuogo) {
  const Righe generale = {"[generale]", "lunghezza percorso, 10000"};
  const struct {
    const char* caso;
    std::optional<Righe> linea;
    std::optional<Righe> treno;
    std::vector<Atteso> problemi;
    std::optional<Atteso> timbri = std::nullopt;
    std::optional<Atteso> guasto = std::nullopt;
    bool linea_eliminata = true;
    bool treno_eliminato = true;
    bool immagini = true;
  } casi[] = {
      {"nessun problema",
       Righe{"[generale]", "lunghezza percorso, 10000", "[fine]"},
       Righe{"[generale]", "[fine]"},
       {}},
      {"linea mancante",
       std::nullopt,
       Righe{"[generale]", "[fine]"},
       {{101, L, 0, 0}},
       {},
       {},
       false,
       false,
       false},
      {"treno mancante: errore di esecuzione",
       Righe{"[generale]", "lunghezza percorso, 1000"},
       std::nullopt,
       {{25, T, 0, 0}},
       {},
       {},
       true,
       false},
      {"oltre il percorso nella linea, poi la riga del treno che ferma",
       Righe{"[generale]", "lunghezza percorso, 1000", "[pendenze]", "pendenza, 9000, 0", "[fine]"},
       Righe{"[generale]", "rallentamento, 5200, 70, 300, 0, 0, 0", "[fine]"},
       {{15, L, 4, 11}, {15, T, 2, 16}}},
      {"numero illeggibile nel treno",
       Righe{"[generale]", "lunghezza percorso, 1000"},
       Righe{"[generale]", "sabbia, 3x0"},
       {{25, T, 2, 9}}},
      {"problema della lettura, poi della passata",
       Righe{"[generale]", "lunghezza percorso, 1000", "progressiva chilometrica uno, 0, 925, 0",
             "[fine]"},
       Righe{"[generale]", "rallentamento, 5200, 70, 300, 0, 0, 0", "abbattimento, 4900, 0",
             "abbattimento, 4950, 0", "abbattimento, 5000, 0", "[fine]"},
       {{2, L, 3, 34}, {12, T, 2, 1}}},
      {"marche: un cartello nella cella 1",
       Righe{"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
             "cartello_indicatore, 0, X", "[fine]"},
       Righe{"[generale]", "[fine]"},
       {},
       Atteso{1250, L, 4, 1},
       {},
       true,
       true,
       false},
      {"codici: un indicatore nella cella 1",
       Righe{"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
             "indicatori_v_max, 0, 0, 50, 0, 0, 0, 0, 0, 0", "[fine]"},
       Righe{"[generale]", "[fine]"},
       {},
       Atteso{1251, L, 4, 1},
       {},
       true,
       true,
       false},
      {"nessuna cella 1: la riga della lunghezza",
       Righe{"[generale]", "lunghezza percorso, -6976", "[fine]"},
       Righe{"[generale]", "[fine]"},
       {},
       {},
       Atteso{0, L, 2, 1},
       true,
       true,
       false},
      {"testo troppo lungo: il suo campo",
       Righe{"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
             "cartello_indicatore, 500, " + std::string(70000, 'x'), "[fine]"},
       Righe{"[generale]", "[fine]"},
       {},
       {},
       Atteso{0, L, 4, 27},
       true,
       true,
       false},
  };
  for (const auto& c : casi) {
    const std::optional<std::string> linea =
        c.linea ? std::optional(testo(*c.linea)) : std::nullopt;
    const std::optional<std::string> treno =
        c.treno ? std::optional(testo(*c.treno)) : std::nullopt;
    const Compilazione r = compila(linea, treno, prova());
    std::vector<Atteso> trovati;
    for (const Problema& p : r.problemi) {
      EXPECT_TRUE(p.luogo.file == L || p.luogo.file == T) << c.caso << ": " << p.luogo;
      trovati.push_back({p.codice, p.luogo.file == L ? L : T, p.luogo.riga, p.luogo.colonna});
    }
    ASSERT_EQ(trovati.size(), c.problemi.size()) << c.caso;
    for (size_t i = 0; i < trovati.size(); ++i) {
      EXPECT_EQ(trovati[i].codice, c.problemi[i].codice) << c.caso << ", problema " << i;
      EXPECT_STREQ(trovati[i].file, c.problemi[i].file) << c.caso << ", problema " << i;
      EXPECT_EQ(trovati[i].riga, c.problemi[i].riga) << c.caso << ", problema " << i;
      EXPECT_EQ(trovati[i].colonna, c.problemi[i].colonna) << c.caso << ", problema " << i;
    }
    const int32_t ultimo = c.problemi.empty() ? 0 : c.problemi.back().codice;
    EXPECT_EQ(r.scenario.codice_errore, ultimo) << c.caso;
    for (const auto& [avuto, atteso, nome] :
         {std::tuple{r.timbri, c.timbri, "timbri"}, std::tuple{r.guasto, c.guasto, "guasto"}}) {
      ASSERT_EQ(avuto.has_value(), atteso.has_value()) << c.caso << ": " << nome;
      if (avuto) {
        EXPECT_EQ(avuto->codice, atteso->codice) << c.caso;
        EXPECT_EQ(avuto->luogo, (Luogo{atteso->file, atteso->riga, atteso->colonna})) << c.caso;
        EXPECT_EQ(avuto->motivo.empty(), atteso->codice != 0) << c.caso << ": " << avuto->motivo;
      }
    }
    EXPECT_EQ(r.linea_eliminata, c.linea_eliminata) << c.caso;
    EXPECT_EQ(r.treno_eliminato, c.treno_eliminato) << c.caso;
    EXPECT_EQ(r.ha_immagini(), c.immagini) << c.caso;
  }
}

// A row the format takes without a word, but an author almost never means, is a warning; the
// compile goes on and writes its files.
TEST(Compila, GliAvvisiNonFermanoLaCompilazione) {
  const Compilazione r =
      compila(testo({"[generale]", "lunghezza percorso, 1000", "lunghezza x", "[fine]"}),
              testo({"[generale]", "[fine]"}), prova());
  EXPECT_TRUE(r.problemi.empty());
  ASSERT_FALSE(r.avvisi.empty());
  EXPECT_EQ(r.avvisi[0].luogo.file, L);
  EXPECT_TRUE(r.ha_immagini());
}

// The images are the bytes the builder's run writes for the same sources, with or without a
// plan; a second compile in the storage of the first gives them again.
TEST(Compila, LeImmaginiSonoIFileDelCostruttore) {
  const std::string linea = testo_delle_righe(dati_linea());
  const std::string treno = testo_delle_righe(dati_treno());
  for (const bool con_tracciato : {true, false}) {
    SorgentiDiProva p;
    p.cartella.scrivi(kLineaDiProva, linea);
    p.cartella.scrivi(kTrenoDiProva, treno);
    memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), con_tracciato ? 1 : 0);
    const OpzioniCompilazione opzioni{"Prova", "1", con_tracciato};
    Compilazione r = compila(linea, treno, opzioni);
    for (int volta = 0; volta < 2; ++volta) {
      ASSERT_TRUE(r.ha_immagini());
      EXPECT_TRUE(r.problemi.empty());
      // Without a plan, each curve row is a warning.
      EXPECT_EQ(r.avvisi.empty(), con_tracciato);
      if (con_tracciato) {
        EXPECT_TRUE(r.immagini->tracciato == p.cartella.leggi("Prova_linea.dat"));
      } else {
        EXPECT_TRUE(r.immagini->tracciato.empty());
      }
      EXPECT_TRUE(r.immagini->voci == p.cartella.leggi("Prova_1.sim"));
      EXPECT_TRUE(r.immagini->percorso == p.cartella.leggi("Prova_1.dat"));
      r = compila(linea, treno, opzioni, std::move(r.scenario.tracciato));
    }
  }
}

// Any bytes give a result: none of these throws.
TEST(Compila, QualsiasiByteDannoUnEsito) {
  const std::string casi[] = {"",
                              std::string("\0\0\0", 3),
                              "[generale]",
                              "[generale]\r\nlunghezza percorso, 99999999999\r\n",
                              "[generale]\r\nlunghezza percorso, -7000\r\n",
                              "[generale]\r\nlunghezza percorso, -2147483648\r\n",
                              std::string(1000, '\xff')};
  for (const std::string& linea : casi) {
    for (const std::string& treno : casi) {
      EXPECT_NO_THROW(compila(linea, treno, prova())) << linea << " / " << treno;
    }
  }
}

}  // namespace
