#include "sources/scrivi_righe.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "platform/cartella_temporanea.h"
#include "platform/file_system.h"

namespace {

using piattaforma::CartellaTemporanea;

TEST(ScriviRighe, OgniRigaChiusaDaCrLfENullaDopoLUltima) {
  CartellaTemporanea cartella;
  constexpr std::array<std::string_view, 3> linee = {"[generale]", "", "curvas5,  700 , 700 "};
  EXPECT_EQ(scrivi_righe(righe_con_sentinella(linee), cartella.file("f.txt")), 3);
  EXPECT_EQ(cartella.leggi("f.txt"), "[generale]\r\n\r\ncurvas5,  700 , 700 \r\n");
}

TEST(ScriviRighe, SentinellaInPrimaPosizioneDaUnFileVuoto) {
  CartellaTemporanea cartella;
  Righe righe;
  righe[0] = kSentinella;
  righe[1] = "mai scritta";
  EXPECT_EQ(scrivi_righe(righe, cartella.file("f.txt")), 0);
  EXPECT_TRUE(cartella.esiste("f.txt"));
  EXPECT_EQ(cartella.leggi("f.txt"), "");
}

TEST(ScriviRighe, QuasiSentinelleSonoRigheOrdinarie) {
  CartellaTemporanea cartella;
  Righe righe;
  righe[0] = "Riferimento fine del file";
  righe[1] = "riferimento fine del file ";
  righe[2] = " riferimento fine del file";
  righe[3] = kSentinella;
  righe[4] = "dopo la sentinella";
  EXPECT_EQ(scrivi_righe(righe, cartella.file("f.txt")), 3);
  EXPECT_EQ(cartella.leggi("f.txt"),
            "Riferimento fine del file\r\nriferimento fine del file \r\n"
            " riferimento fine del file\r\n");
}

TEST(ScriviRighe, SostituisceUnFilePiuLungo) {
  CartellaTemporanea cartella;
  cartella.scrivi("f.txt", std::string(5000, 'x'));
  constexpr std::array<std::string_view, 1> linee = {"corta"};
  scrivi_righe(righe_con_sentinella(linee), cartella.file("f.txt"));
  EXPECT_EQ(cartella.leggi("f.txt"), "corta\r\n");
}

TEST(ScriviRighe, ScriveLeLettereAccentateInWindows1252) {
  CartellaTemporanea cartella;
  constexpr std::array<std::string_view, 1> linee = {" è là, più sù, sì"};
  scrivi_righe(righe_con_sentinella(linee), cartella.file("f.txt"));
  EXPECT_EQ(cartella.leggi("f.txt"), " \xE8 l\xE0, pi\xF9 s\xF9, s\xEC\r\n");
}

TEST(ScriviRighe, MilleRigheSonoIlMassimo) {
  CartellaTemporanea cartella;
  Righe righe;
  for (size_t i = 0; i < 1000; ++i) {
    righe[i] = "r";
  }
  righe[1000] = kSentinella;
  EXPECT_EQ(scrivi_righe(righe, cartella.file("f.txt")), 1000);
  EXPECT_EQ(cartella.leggi("f.txt").size(), 3000u);
}

TEST(ScriviRighe, SenzaSentinellaFallisceSenzaToccareIlFile) {
  CartellaTemporanea cartella;
  cartella.scrivi("f.txt", "precedente");
  Righe righe;
  righe.fill("riga");
  EXPECT_THROW(scrivi_righe(righe, cartella.file("f.txt")), std::logic_error);
  EXPECT_EQ(cartella.leggi("f.txt"), "precedente");
}

TEST(ScriviRighe, CartellaAlPostoDelFileFallisceConErroreFile) {
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file("f.txt"));
  constexpr std::array<std::string_view, 1> linee = {"x"};
  EXPECT_THROW(scrivi_righe(righe_con_sentinella(linee), cartella.file("f.txt")),
               piattaforma::ErroreFile);
}

TEST(RigheConSentinella, PiuDiMilleRigheNonEntrano) {
  std::vector<std::string_view> linee(1001, "r");
  EXPECT_THROW(righe_con_sentinella(linee), std::logic_error);
  linee.pop_back();
  EXPECT_EQ(righe_con_sentinella(linee)[1000], kSentinella);
}

}  // namespace
