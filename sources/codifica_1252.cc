#include "sources/codifica_1252.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace {

// Characters of bytes 0x80 to 0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kDa80A9F = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

[[noreturn]] void rifiuta(std::string_view utf8, const char* perche) {
  throw std::logic_error(std::string("testo non scrivibile in Windows-1252 (") + perche +
                         "): " + std::string(utf8));
}

// Decodes the character starting at `i` and moves `i` past it.
char32_t decodifica(std::string_view utf8, size_t& i) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(utf8[k]); };
  const uint8_t primo = b(i);
  size_t seguito = 0;
  char32_t c = 0;
  if (primo < 0x80) {
    c = primo;
  } else if ((primo & 0xE0) == 0xC0) {
    seguito = 1;
    c = primo & 0x1Fu;
  } else if ((primo & 0xF0) == 0xE0) {
    seguito = 2;
    c = primo & 0x0Fu;
  } else if ((primo & 0xF8) == 0xF0) {
    seguito = 3;
    c = primo & 0x07u;
  } else {
    rifiuta(utf8, "UTF-8 non valido");
  }
  if (seguito > 0 && i + seguito >= utf8.size()) {
    rifiuta(utf8, "UTF-8 troncato");
  }
  for (size_t k = 1; k <= seguito; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) {
      rifiuta(utf8, "UTF-8 non valido");
    }
    c = (c << 6) | (b(i + k) & 0x3Fu);
  }
  constexpr char32_t kMinimo[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMinimo[seguito]) {
    rifiuta(utf8, "UTF-8 non valido");
  }
  i += seguito + 1;
  return c;
}

}  // namespace

std::string da_1252(std::string_view byte) {
  std::string utf8;
  utf8.reserve(byte.size());
  for (const char b : byte) {
    const auto u = static_cast<uint8_t>(b);
    char32_t c = u;
    if (u >= 0x80 && u <= 0x9F && kDa80A9F[u - 0x80u] != 0) {
      c = kDa80A9F[u - 0x80u];
    }
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

void aggiungi_in_1252(std::string& byte, std::string_view utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    // A run of ASCII is the same bytes in both encodings, and most of every text: copied whole.
    size_t ascii = i;
    while (ascii < utf8.size() && static_cast<uint8_t>(utf8[ascii]) < 0x80) {
      ++ascii;
    }
    byte.append(utf8, i, ascii - i);
    i = ascii;
    if (i == utf8.size()) {
      break;
    }
    const std::optional<char> b = byte_1252(decodifica(utf8, i));
    if (!b) {
      rifiuta(utf8, "carattere senza byte");
    }
    byte += *b;
  }
}

std::optional<char> byte_1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    return static_cast<char>(static_cast<uint8_t>(c));
  }
  for (size_t k = 0; k < kDa80A9F.size(); ++k) {
    if (kDa80A9F[k] == c && c != 0) {
      return static_cast<char>(static_cast<uint8_t>(0x80 + k));
    }
  }
  return std::nullopt;
}

std::string in_1252(std::string_view utf8) {
  std::string byte;
  byte.reserve(utf8.size());
  aggiungi_in_1252(byte, utf8);
  return byte;
}
