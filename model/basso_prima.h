// Fixed-width numbers as the binary files hold them: little-endian, low byte first, at a given
// place in a buffer. The one place where a number becomes its bytes and back, whatever the
// byte order of the machine. The bytes are named at compile time and moved in one copy, with
// no loop and no pointer stepped byte by byte: the compiler makes one store or one load, even
// in the fuzz build, where every comparison and every step of a pointer would otherwise be
// checked and reported at each byte of a long line's plan.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace basso_prima {

template <typename U, size_t... I>
void scrivi(char* p, U v, std::index_sequence<I...>) {
  const uint8_t byte[sizeof(U)] = {static_cast<uint8_t>(v >> (8 * I) & 0xFFu)...};
  std::memcpy(p, byte, sizeof(U));
}

template <typename U, size_t... I>
U leggi(const char* p, std::index_sequence<I...>) {
  uint8_t byte[sizeof(U)];
  std::memcpy(byte, p, sizeof(U));
  return static_cast<U>(((static_cast<U>(byte[I]) << (8 * I)) | ...));
}

}  // namespace basso_prima

template <std::unsigned_integral U>
void scrivi_basso_prima(char* p, U v) {
  basso_prima::scrivi(p, v, std::make_index_sequence<sizeof(U)>{});
}

template <std::unsigned_integral U>
U leggi_basso_prima(const char* p) {
  return basso_prima::leggi<U>(p, std::make_index_sequence<sizeof(U)>{});
}
