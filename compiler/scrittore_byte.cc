#include "compiler/scrittore_byte.h"

#include <bit>
#include <stdexcept>

namespace {

template <typename U>
void accoda_basso_prima(std::string& byte, U v) {
  for (size_t i = 0; i < sizeof(U); ++i) {
    byte.push_back(static_cast<char>(static_cast<uint8_t>(v & 0xFFu)));
    v = static_cast<U>(v >> 8);
  }
}

}  // namespace

void ScrittoreByte::u16(uint16_t v) {
  accoda_basso_prima(byte_, v);
}

void ScrittoreByte::i32(int32_t v) {
  accoda_basso_prima(byte_, static_cast<uint32_t>(v));
}

void ScrittoreByte::f64(double v) {
  accoda_basso_prima(byte_, std::bit_cast<uint64_t>(v));
}

void ScrittoreByte::testo(std::string_view t) {
  if (t.size() > UINT16_MAX) {
    throw std::length_error("testo di " + std::to_string(t.size()) +
                            " byte: la lunghezza non sta in 16 bit");
  }
  u16(static_cast<uint16_t>(t.size()));
  byte_.append(t);
}
