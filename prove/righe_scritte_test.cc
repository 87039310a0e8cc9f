#include "prove/righe_scritte.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(RigheScritte, OgniRigaFinisceConCrLf) {
  EXPECT_EQ(righe_scritte(""), std::vector<std::string>{});
  EXPECT_EQ(righe_scritte("a \r\n\r\nb\r\n"), (std::vector<std::string>{"a ", "", "b"}));
}

TEST(RigheScritte, RifiutaFineRigaDiverse) {
  for (const std::string_view byte : {"a\r\nb", "a\nb\r\n", "a\rb\r\n", "a\r\n\r"}) {
    EXPECT_THROW(righe_scritte(byte), std::invalid_argument) << byte;
  }
}

TEST(Campi, DivideAlleVirgoleTenendoGliSpazi) {
  EXPECT_EQ(campi("curvad6,  11450,  150"),
            (std::vector<std::string_view>{"curvad6", "  11450", "  150"}));
  EXPECT_EQ(campi("a,  ,"), (std::vector<std::string_view>{"a", "  ", ""}));
  EXPECT_EQ(campi("[fine]"), (std::vector<std::string_view>{"[fine]"}));
}

TEST(Intero, SoloSpaziSegnoECifre) {
  EXPECT_EQ(intero("  850 "), 850);
  EXPECT_EQ(intero("-26"), -26);
  EXPECT_EQ(intero("   0"), 0);
  for (const std::string_view campo : {"", "  ", "4 0", "12a", "--1", "+3", "99999999999"}) {
    EXPECT_EQ(intero(campo), std::nullopt) << campo;
  }
}

}  // namespace
