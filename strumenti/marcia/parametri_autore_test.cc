#include "strumenti/marcia/parametri_autore.h"

#include <gtest/gtest.h>

#include "platform/disco_in_memoria.h"

namespace {

const Identita kId{"Valle", "7"};

TEST(ParametriAutore, IlFileAccantoAllaLineaPoiLeOpzioni) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/a/Valle_marcia.txt"] = "# piu' forte\r\npotenza_kw = 4200\r\nmassa_carro_t = 48\r\n";
  const ParametriAutore p =
      parametri_autore(disco, "/a/Valle_linea.txt", kId, {"massa_carro_t=50"});
  EXPECT_TRUE(p.errori.empty());
  EXPECT_EQ(p.file, "/a/Valle_marcia.txt");
  EXPECT_EQ(p.parametri.potenza_kw, 4200);
  EXPECT_EQ(p.parametri.massa_carro_t, 50);  // the option over the file
  EXPECT_EQ(p.parametri.sforzo_massimo_kn, ParametriMarcia{}.sforzo_massimo_kn);
}

TEST(ParametriAutore, SenzaFileIValoriDiNorma) {
  piattaforma::DiscoInMemoria disco;
  const ParametriAutore p = parametri_autore(disco, "Valle_linea.txt", kId, {});
  EXPECT_TRUE(p.errori.empty());
  EXPECT_TRUE(p.file.empty());
  EXPECT_EQ(p.parametri.potenza_kw, ParametriMarcia{}.potenza_kw);
}

// A bad value is an error at its place, in the file with the line and its text for the caret,
// in an option with the option's words; the other values still hold.
TEST(ParametriAutore, UnValoreSbagliatoEUnErroreAlSuoPosto) {
  piattaforma::DiscoInMemoria disco;
  disco.file["d/Valle_marcia.txt"] = "potenza_kw = 4200\npotenza_kw = -1\n";
  const ParametriAutore p =
      parametri_autore(disco, "d/Valle_linea.txt", kId, {"sconosciuta=1", "massa_carro_t"});
  ASSERT_EQ(p.errori.size(), 3u);
  EXPECT_EQ(p.errori[0].posto.file, "d/Valle_marcia.txt");
  EXPECT_EQ(p.errori[0].posto.riga, 2);
  EXPECT_GT(p.errori[0].posto.colonna, 0);
  EXPECT_EQ(p.errori[0].riga_sorgente, "potenza_kw = -1");
  EXPECT_EQ(p.errori[0].gravita, Gravita::errore);
  EXPECT_EQ(p.errori[1].messaggio.rfind("--marcia-parametro sconosciuta=1: ", 0), 0u);
  EXPECT_EQ(p.errori[2].messaggio, "--marcia-parametro massa_carro_t: atteso CHIAVE=VALORE");
  EXPECT_EQ(p.parametri.potenza_kw, 4200);
}

TEST(ParametriAutore, UnFileCheNonSiLegge) {
  piattaforma::DiscoInMemoria disco;
  disco.file["Valle_marcia.txt"] = "x";
  disco.guasto_all_operazione = 0;
  const ParametriAutore p = parametri_autore(disco, "Valle_linea.txt", kId, {});
  ASSERT_EQ(p.errori.size(), 1u);
  EXPECT_EQ(p.errori[0].posto.file, "Valle_marcia.txt");
  EXPECT_EQ(p.errori[0].posto.riga, 0);
}

}  // namespace
