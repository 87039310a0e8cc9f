#include "strumenti/decompila_scenario/righe_allineate.h"

#include <gtest/gtest.h>

namespace {

TEST(RigheAllineate, ogniColonnaEAllaLarghezzaDelSuoValorePiuLargo) {
  RigheAllineate r("segnale", {8, 1, 2});
  r.aggiungi({"4500", "1", "0"});
  r.aggiungi({"123456789", "10", ""});
  std::string t;
  r.scrivi(t);
  EXPECT_EQ(t,
            "segnale,     4500, 1, 0\r\n"
            "segnale,123456789,10,  \r\n");
  EXPECT_EQ(r.linee(), (std::vector<std::string>{"segnale,     4500, 1, 0",
                                                 "segnale,123456789,10,  "}));
}

TEST(RigheAllineate, unTestoLiberoSegueLeColonneSenzaAllinearsi) {
  RigheAllineate r("cartello_indicatore", {8}, "   ");
  r.aggiungi({"4550"}, "(SAN ROCCO)");
  r.aggiungi_con_parola("altro", {"50"});
  std::string t;
  r.scrivi(t);
  EXPECT_EQ(t,
            "cartello_indicatore,    4550,   (SAN ROCCO)\r\n"
            "altro,      50,   \r\n");
}

TEST(RigheAllineate, unaRigaConAltriValoriEUnErrore) {
  RigheAllineate r("pendenza", {8, 5});
  EXPECT_THROW(r.aggiungi({"1"}), std::logic_error);
}

}  // namespace
