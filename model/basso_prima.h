// Fixed-width numbers as the binary files hold them: little-endian, low byte first, at a given
// place in a buffer. The one place where a number becomes its bytes and back, whatever the
// byte order of the machine; the compiler turns each loop into one store or one load.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>

template <std::unsigned_integral U>
void scrivi_basso_prima(char* p, U v) {
  for (size_t i = 0; i < sizeof(U); ++i) {
    p[i] = static_cast<char>(static_cast<uint8_t>(v & 0xFFu));
    v = static_cast<U>(v >> 8);
  }
}

template <std::unsigned_integral U>
U leggi_basso_prima(const char* p) {
  U v = 0;
  for (size_t i = sizeof(U); i-- > 0;) {
    v = static_cast<U>(v << 8 | static_cast<uint8_t>(p[i]));
  }
  return v;
}
