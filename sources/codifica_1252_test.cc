#include "sources/codifica_1252.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(In1252, AsciiRestaUguale) {
  EXPECT_EQ(in_1252("Treno 4417, km 98+900 ."), "Treno 4417, km 98+900 .");
}

TEST(In1252, LettereAccentateDiventanoUnByteCiascuna) {
  EXPECT_EQ(in_1252("àèìù"), "\xE0\xE8\xEC\xF9");
  EXPECT_EQ(in_1252("città"), "citt\xE0");
}

TEST(In1252, CaratteriDellaZona80A9F) {
  EXPECT_EQ(in_1252("€"), "\x80");
  EXPECT_EQ(in_1252("Ÿ"), "\x9F");
  EXPECT_EQ(in_1252("–"), "\x96");
}

TEST(In1252, SiAccodaAiByteGiaPresenti) {
  std::string byte = "<";
  aggiungi_in_1252(byte, "più € e –, poi ASCII");
  EXPECT_EQ(byte, "<pi\xF9 \x80 e \x96, poi ASCII");
}

TEST(In1252, CaratteriSenzaByteFallisconoRumorosamente) {
  for (const char* testo : {"Ā", "\u0081", "漢", "😀", "\u2028"}) {
    EXPECT_THROW(in_1252(testo), std::logic_error) << testo;
  }
}

TEST(In1252, UtfNonValidoFallisce) {
  for (const char* testo : {"\xE0", "a\xC3", "\xC0\xAF", "\xFF"}) {
    EXPECT_THROW(in_1252(testo), std::logic_error);
  }
}

TEST(Da1252, OgniByteDefinitoTornaComeEra) {
  std::string tutti;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) {
      tutti += static_cast<char>(b);
    }
  }
  EXPECT_EQ(in_1252(da_1252(tutti)), tutti);
  EXPECT_EQ(da_1252("citt\xE0 \x80 \x9F"), "città € Ÿ");
}

TEST(Da1252, IByteIndefinitiDiventanoCaratteriDiControllo) {
  EXPECT_EQ(da_1252("\x81\x9D"), "\u0081\u009D");
  EXPECT_THROW(in_1252(da_1252("\x81")), std::logic_error);
}

}  // namespace
