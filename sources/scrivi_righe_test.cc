#include "sources/scrivi_righe.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "platform/disco_in_memoria.h"

namespace {

using piattaforma::DiscoInMemoria;

TEST(ScriviRighe, OgniRigaChiusaDaCrLfENullaDopoLUltima) {
  DiscoInMemoria disco;
  constexpr std::array<std::string_view, 3> linee = {"[generale]", "", "curvas5,  700 , 700 "};
  EXPECT_EQ(scrivi_righe(disco, righe_con_sentinella(linee), "/f.txt"), 3);
  EXPECT_EQ(disco.leggi("/f.txt"), "[generale]\r\n\r\ncurvas5,  700 , 700 \r\n");
}

TEST(ScriviRighe, SentinellaInPrimaPosizioneDaUnFileVuoto) {
  DiscoInMemoria disco;
  Righe righe;
  righe[0] = kSentinella;
  righe[1] = "mai scritta";
  EXPECT_EQ(scrivi_righe(disco, righe, "/f.txt"), 0);
  EXPECT_TRUE(disco.esiste("/f.txt"));
  EXPECT_EQ(disco.leggi("/f.txt"), "");
}

TEST(ScriviRighe, QuasiSentinelleSonoRigheOrdinarie) {
  DiscoInMemoria disco;
  Righe righe;
  righe[0] = "Riferimento fine del file";
  righe[1] = "riferimento fine del file ";
  righe[2] = " riferimento fine del file";
  righe[3] = kSentinella;
  righe[4] = "dopo la sentinella";
  EXPECT_EQ(scrivi_righe(disco, righe, "/f.txt"), 3);
  EXPECT_EQ(disco.leggi("/f.txt"),
            "Riferimento fine del file\r\nriferimento fine del file \r\n"
            " riferimento fine del file\r\n");
}

TEST(ScriviRighe, SostituisceUnFilePiuLungo) {
  DiscoInMemoria disco;
  disco.ricrea("/f.txt", std::string(5000, 'x'));
  constexpr std::array<std::string_view, 1> linee = {"corta"};
  scrivi_righe(disco, righe_con_sentinella(linee), "/f.txt");
  EXPECT_EQ(disco.leggi("/f.txt"), "corta\r\n");
}

TEST(ScriviRighe, ScriveLeLettereAccentateInWindows1252) {
  DiscoInMemoria disco;
  constexpr std::array<std::string_view, 1> linee = {" è là, più sù, sì"};
  scrivi_righe(disco, righe_con_sentinella(linee), "/f.txt");
  EXPECT_EQ(disco.leggi("/f.txt"), " \xE8 l\xE0, pi\xF9 s\xF9, s\xEC\r\n");
}

TEST(ScriviRighe, MilleRigheSonoIlMassimo) {
  DiscoInMemoria disco;
  Righe righe;
  for (size_t i = 0; i < 1000; ++i) {
    righe[i] = "r";
  }
  righe[1000] = kSentinella;
  EXPECT_EQ(scrivi_righe(disco, righe, "/f.txt"), 1000);
  EXPECT_EQ(disco.leggi("/f.txt").size(), 3000u);
}

TEST(ScriviRighe, SenzaSentinellaFallisceSenzaToccareIlFile) {
  DiscoInMemoria disco;
  disco.ricrea("/f.txt", "precedente");
  Righe righe;
  righe.fill("riga");
  EXPECT_THROW(scrivi_righe(disco, righe, "/f.txt"), std::logic_error);
  EXPECT_EQ(disco.leggi("/f.txt"), "precedente");
}

TEST(ScriviRighe, UnDiscoCheFallisceDaErroreFileELasciaIlFileVecchio) {
  DiscoInMemoria disco;
  disco.ricrea("/f.txt", "vecchio");
  disco.guasto_all_operazione = disco.operazioni;
  constexpr std::array<std::string_view, 1> linee = {"x"};
  EXPECT_THROW(scrivi_righe(disco, righe_con_sentinella(linee), "/f.txt"), piattaforma::ErroreFile);
  EXPECT_EQ(disco.leggi("/f.txt"), "vecchio");
}

TEST(RigheConSentinella, PiuDiMilleRigheNonEntrano) {
  std::vector<std::string_view> linee(1001, "r");
  EXPECT_THROW(righe_con_sentinella(linee), std::logic_error);
  linee.pop_back();
  EXPECT_EQ(righe_con_sentinella(linee)[1000], kSentinella);
}

}  // namespace
