#include "strumenti/marcia/parametri_marcia.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ParametriMarcia, IValoriPredefinitiSonoQuelliDelModello) {
  const ParametriMarcia p;
  EXPECT_EQ(p.massa_locomotiva_t, 80);
  EXPECT_EQ(p.massa_carro_t, 44);
  EXPECT_EQ(p.lunghezza_locomotiva_m, 20);
  EXPECT_EQ(p.lunghezza_carro_m, 26);
  EXPECT_EQ(p.fattore_masse_rotanti, 1.06);
  EXPECT_EQ(p.sforzo_massimo_kn, 200);
  EXPECT_EQ(p.potenza_kw, 3000);
  EXPECT_EQ(p.resistenza_costante, 1.8);
  EXPECT_EQ(p.resistenza_quadratica, 0.0003);
  EXPECT_EQ(p.frenatura_massima_ms2, 1.0);
  EXPECT_EQ(p.frenatura_per_massa_frenata_ms2, 0.6);
  EXPECT_EQ(p.frenatura_minima_ms2, 0.05);
  EXPECT_EQ(p.gravita_ms2, 9.81);
  EXPECT_EQ(p.soglia_stretto_percento, 3);
  EXPECT_EQ(controlla(p), std::nullopt);
}

// Every field has exactly one key, and each key sets its own field.
TEST(ParametriMarcia, OgniChiaveImpostaIlSuoCampo) {
  std::set<std::string_view> nomi;
  for (const ChiaveMarcia& c : chiavi_marcia()) {
    nomi.insert(c.nome);
    ParametriMarcia p;
    ASSERT_EQ(imposta(p, c.nome, "123.5"), std::nullopt) << c.nome;
    EXPECT_EQ(p.*(c.campo), 123.5) << c.nome;
    int cambiati = 0;
    for (const ChiaveMarcia& altra : chiavi_marcia()) {
      cambiati += p.*(altra.campo) != ParametriMarcia{}.*(altra.campo) ? 1 : 0;
    }
    EXPECT_EQ(cambiati, 1) << c.nome;
  }
  // No two keys share a field: each keeps its own value after all are set.
  ParametriMarcia tutti;
  double valore = 1;
  for (const ChiaveMarcia& c : chiavi_marcia()) {
    ASSERT_EQ(imposta(tutti, c.nome, std::to_string(valore++)), std::nullopt);
  }
  valore = 1;
  for (const ChiaveMarcia& c : chiavi_marcia()) {
    EXPECT_EQ(tutti.*(c.campo), valore++) << c.nome;
  }
  EXPECT_EQ(nomi.size(), chiavi_marcia().size());
  EXPECT_EQ(sizeof(ParametriMarcia), chiavi_marcia().size() * sizeof(double));
}

TEST(ParametriMarcia, ValoriRifiutatiLascianoIlCampo) {
  const struct {
    const char* chiave;
    const char* testo;
    const char* messaggio;
  } casi[] = {
      {"potenza_kw", "",
       "valore non valido per potenza_kw: '' (serve un numero, col punto decimale)"},
      {"potenza_kw", "3000kW",
       "valore non valido per potenza_kw: '3000kW' (serve un numero, col punto decimale)"},
      {"potenza_kw", "3,5",
       "valore non valido per potenza_kw: '3,5' (serve un numero, col punto decimale)"},
      {"potenza_kw", "inf",
       "valore non valido per potenza_kw: 'inf' (serve un numero, col punto decimale)"},
      {"potenza_kw", "nan",
       "valore non valido per potenza_kw: 'nan' (serve un numero, col punto decimale)"},
      {"potenza_kw", "0", "potenza_kw deve essere maggiore di 0, non 0"},
      {"massa_carro_t", "-1", "massa_carro_t deve essere almeno 0, non -1"},
      {"potenza", "3000", "parametro sconosciuto: 'potenza'"},
  };
  for (const auto& c : casi) {
    ParametriMarcia p;
    EXPECT_EQ(imposta(p, c.chiave, c.testo), std::optional<std::string>(c.messaggio)) << c.testo;
    EXPECT_EQ(p.potenza_kw, 3000);
    EXPECT_EQ(p.massa_carro_t, 44);
  }
  ParametriMarcia p;
  EXPECT_EQ(imposta(p, "massa_carro_t", "0"), std::nullopt);
  EXPECT_EQ(p.massa_carro_t, 0);
  EXPECT_EQ(imposta(p, "potenza_kw", "1e4"), std::nullopt);
  EXPECT_EQ(p.potenza_kw, 10000);
}

TEST(ParametriMarcia, ControllaTrovaIlPrimoValoreCattivo) {
  ParametriMarcia p;
  p.gravita_ms2 = -1;
  p.soglia_stretto_percento = 0;
  EXPECT_EQ(controlla(p),
            std::optional<std::string>("gravita_ms2 deve essere maggiore di 0, non -1.000000"));
}

TEST(ParametriMarcia, DalFile) {
  const LetturaParametri l = leggi_parametri(
      "# il treno del 4417, piu' potente\r\n"
      "potenza_kw = 4200   # kW alla ruota\r\n"
      "\r\n"
      "   massa_carro_t=40\r\n"
      "soglia_stretto_percento = 5.5");
  EXPECT_TRUE(l.errori.empty());
  EXPECT_EQ(l.parametri.potenza_kw, 4200);
  EXPECT_EQ(l.parametri.massa_carro_t, 40);
  EXPECT_EQ(l.parametri.soglia_stretto_percento, 5.5);
  EXPECT_EQ(l.parametri.sforzo_massimo_kn, 200);
}

TEST(ParametriMarcia, IlFileSiLeggeSopraUnaBase) {
  ParametriMarcia base;
  base.potenza_kw = 1000;
  base.sforzo_massimo_kn = 150;
  const LetturaParametri l = leggi_parametri("potenza_kw = 2000\n", base);
  EXPECT_EQ(l.parametri.potenza_kw, 2000);
  EXPECT_EQ(l.parametri.sforzo_massimo_kn, 150);
}

// Each problem at its line and column; a line with a problem sets nothing, the others do.
TEST(ParametriMarcia, ErroriDelFileColLoroLuogo) {
  const LetturaParametri l = leggi_parametri(
      "potenza_kw = 4200\n"
      "  potenza = 10\n"
      "sforzo_massimo_kn =  tanto  # troppo\n"
      "massa_carro_t\n"
      "gravita_ms2 = -9.81\n"
      "lunghezza_carro_m =\n"
      "potenza_kw = 5000\n"
      "massa_locomotiva_t = 90\n");
  const struct {
    int riga;
    int colonna;
    std::string messaggio;
  } attesi[] = {
      {2, 3, "parametro sconosciuto: 'potenza'"},
      {3, 22,
       "valore non valido per sforzo_massimo_kn: 'tanto' (serve un numero, col punto decimale)"},
      {4, 1, "manca '=': ogni riga e' 'chiave = valore'"},
      {5, 15, "gravita_ms2 deve essere maggiore di 0, non -9.81"},
      {6, 20, "valore non valido per lunghezza_carro_m: '' (serve un numero, col punto decimale)"},
      {7, 1, "potenza_kw e' gia' dato alla riga 1"},
  };
  ASSERT_EQ(l.errori.size(), std::size(attesi));
  for (size_t i = 0; i < l.errori.size(); ++i) {
    EXPECT_EQ(l.errori[i].riga, attesi[i].riga) << i;
    EXPECT_EQ(l.errori[i].colonna, attesi[i].colonna) << i;
    EXPECT_EQ(l.errori[i].messaggio, attesi[i].messaggio) << i;
  }
  EXPECT_EQ(l.parametri.potenza_kw, 4200);
  EXPECT_EQ(l.parametri.sforzo_massimo_kn, 200);
  EXPECT_EQ(l.parametri.gravita_ms2, 9.81);
  EXPECT_EQ(l.parametri.massa_locomotiva_t, 90);
}

TEST(ParametriMarcia, NomeDelFileAccantoAlleSorgenti) {
  EXPECT_EQ(nome_file_parametri("Tavena_Crostia"), "Tavena_Crostia_marcia.txt");
}

}  // namespace
