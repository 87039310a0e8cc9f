#include "compiler/scrittore_byte.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

void ScrittoreByte::riserva(size_t n) {
  if (byte_.size() - usati_ < n) {
    byte_.resize(usati_ + n);
  }
}

void ScrittoreByte::cresci(size_t n) {
  byte_.resize(std::max(usati_ + n, 2 * byte_.size()));
}

void ScrittoreByte::testo(std::string_view t) {
  if (t.size() > kMassimoTesto) {
    throw std::length_error("testo di " + std::to_string(t.size()) +
                            " byte: la lunghezza non sta in 16 bit");
  }
  u16(static_cast<uint16_t>(t.size()));
  if (!t.empty()) {
    std::memcpy(spazio(t.size()), t.data(), t.size());
  }
}
