#include "prove/sorgenti_estese.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/form_load.h"
#include "compiler/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "prove/sorgenti_di_prova.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

Scenario scenario_incorporato() {
  Scenario s;
  s.nome_scenario = kNomeScenario;
  s.numero_treno = kNumeroTreno;
  return s;
}

TEST(SorgentiEstese, AllaLunghezzaIncorporataSonoLeSorgentiIncorporate) {
  const std::string linea = testo_delle_righe(dati_linea());
  const std::string treno = testo_delle_righe(dati_treno());
  const SorgentiEstese f = estendi_sorgenti(linea, treno, 101000);
  EXPECT_EQ(f.linea, linea);
  EXPECT_EQ(f.treno, treno);
}

TEST(SorgentiEstese, RifiutaUnaLunghezzaCheLaLineaNonAmmette) {
  const std::string linea = "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n";
  const std::string treno = "[generale]\r\n[fine]\r\n";
  EXPECT_THROW(estendi_sorgenti(linea, treno, 0), std::invalid_argument);
  EXPECT_THROW(estendi_sorgenti(linea, treno, 1000001), std::invalid_argument);
  EXPECT_THROW(estendi_sorgenti("[generale]\r\n[fine]\r\n", treno, 1000), std::invalid_argument);
}

struct Compilata {
  Scenario s;
  size_t byte_tracciato = 0;
};

Compilata compila(int32_t metri) {
  CartellaInMemoria cartella;
  Compilata c{scenario_incorporato()};
  scrivi_sorgenti(cartella.disco, c.s, cartella.percorso(), sorgenti_estese(metri));
  memorizza_percorso(c.s, cartella.disco, cartella.percorso(), 1);
  c.byte_tracciato = cartella.leggi(nome_file_tracciato(c.s)).size();
  return c;
}

TEST(SorgentiEstese, UnaLineaBreveSiCompilaSenzaErrori) {
  const Compilata c = compila(10000);
  EXPECT_EQ(c.s.codice_errore, 0) << "posizione " << c.s.posizione_errore;
  EXPECT_EQ(c.s.ultima_cella, 340);
}

// The longest line the model takes: every repetition of the built-in rows compiles, the
// bounded items stop exactly at their bounds, and the plan reaches its last point.
TEST(SorgentiEstese, LaLineaPiuLungaSiCompilaSenzaErroriEntroILimiti) {
  const Compilata c = compila(1000000);
  const Scenario& s = c.s;
  EXPECT_EQ(s.codice_errore, 0) << "posizione " << s.posizione_errore;
  EXPECT_EQ(s.ultima_cella, 20140);
  EXPECT_EQ(s.conta_montagne, 80);
  EXPECT_FALSE(s.voci[29].testo.empty()) << "stazione 29";
  EXPECT_TRUE(s.voci[30].testo.empty()) << "stazione 30";
  EXPECT_FALSE(s.voci[32].testo.empty()) << "cartello 49";
  EXPECT_TRUE(s.voci[31].testo.empty()) << "cartello 50";
  size_t ultimo_segnale = 0;
  for (size_t i = 0; i < s.percorso.size(); ++i) {
    if (s.percorso[i].genere == kSegnale) {
      ultimo_segnale = i;
    }
  }
  EXPECT_GT(ultimo_segnale * 50, 900000u);
  // Two columns of 1,007,001 values: two 16-bit integers, doubles, two empties.
  EXPECT_EQ(c.byte_tracciato, 2u * (2 * 4 + (1007001 - 4) * 10 + 2 * 2));
}

}  // namespace
