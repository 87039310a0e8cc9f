#include "compiler/scrittore_byte.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

struct Caso {
  const char* nome;
  std::function<void(ScrittoreByte&)> scrivi;
  std::string attesi;
};

TEST(ScrittoreByte, NumeriBassoPrimaETestiConLaLunghezza) {
  const Caso casi[] = {
      {"u8 255", [](ScrittoreByte& w) { w.u8(255); }, "\xFF"},
      {"u16 65535", [](ScrittoreByte& w) { w.u16(65535); }, "\xFF\xFF"},
      {"u16 258", [](ScrittoreByte& w) { w.u16(258); }, "\x02\x01"},
      {"i16 -1", [](ScrittoreByte& w) { w.i16(-1); }, "\xFF\xFF"},
      {"i16 5121", [](ScrittoreByte& w) { w.i16(5121); }, "\x01\x14"},
      {"i16 minimo", [](ScrittoreByte& w) { w.i16(INT16_MIN); }, std::string("\x00\x80", 2)},
      {"i32 -2", [](ScrittoreByte& w) { w.i32(-2); }, "\xFE\xFF\xFF\xFF"},
      {"i32 0x12345678", [](ScrittoreByte& w) { w.i32(0x12345678); }, "\x78\x56\x34\x12"},
      {"i32 minimo", [](ScrittoreByte& w) { w.i32(INT32_MIN); },
       std::string("\x00\x00\x00\x80", 4)},
      {"f64 1", [](ScrittoreByte& w) { w.f64(1.0); }, std::string("\0\0\0\0\0\0\xF0\x3F", 8)},
      {"f64 -2.5", [](ScrittoreByte& w) { w.f64(-2.5); }, std::string("\0\0\0\0\0\0\x04\xC0", 8)},
      {"f64 -0", [](ScrittoreByte& w) { w.f64(-0.0); }, std::string("\0\0\0\0\0\0\0\x80", 8)},
      {"testo vuoto", [](ScrittoreByte& w) { w.testo(""); }, std::string("\0\0", 2)},
      {"testo 1252", [](ScrittoreByte& w) { w.testo("a\xE8"); }, std::string("\x02\0a\xE8", 4)},
      {"in fila",
       [](ScrittoreByte& w) {
         w.u8(1);
         w.i16(2);
         w.i32(3);
       },
       std::string("\x01\x02\0\x03\0\0\0", 7)},
  };
  for (const Caso& c : casi) {
    ScrittoreByte w;
    c.scrivi(w);
    EXPECT_EQ(w.byte(), c.attesi) << c.nome;
  }
}

TEST(ScrittoreByte, UnTestoOltre65535ByteNonSiScrive) {
  ScrittoreByte w;
  w.testo(std::string(65535, 'x'));
  EXPECT_EQ(w.byte().size(), 65537u);
  EXPECT_EQ(w.byte().substr(0, 2), "\xFF\xFF");
  EXPECT_THROW(w.testo(std::string(65536, 'x')), std::length_error);
  EXPECT_EQ(w.byte().size(), 65537u) << "il testo rifiutato ha lasciato byte";
}

}  // namespace
