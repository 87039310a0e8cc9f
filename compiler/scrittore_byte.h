// A byte writer that appends, for records whose length varies with a text: fixed-width numbers
// go low byte first (model/basso_prima.h), with no padding; a text goes as a 16-bit length and
// its bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/basso_prima.h"
#include "model/formato_voci.h"

class ScrittoreByte {
 public:
  // Room for `n` more bytes, so that appending them never grows the buffer.
  void riserva(size_t n);

  void u8(uint8_t v) { *spazio(1) = static_cast<char>(v); }
  void u16(uint16_t v) { accoda_basso_prima(v); }
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void i32(int32_t v) { accoda_basso_prima(static_cast<uint32_t>(v)); }
  void f64(double v) { accoda_basso_prima(std::bit_cast<uint64_t>(v)); }  // IEEE 754 binary64

  // The length as a 16-bit unsigned number, then the bytes, no terminator. A text longer
  // than kMassimoTesto bytes cannot be told by its length field: std::length_error.
  void testo(std::string_view t);

  std::string_view byte() const { return {byte_.data(), usati_}; }
  std::string prendi() && {
    byte_.resize(usati_);
    return std::move(byte_);
  }

 private:
  // The next `n` bytes of the buffer, now counted as written. The plan file appends two
  // million numbers for a long line: this check is all that a number costs besides its bytes.
  char* spazio(size_t n) {
    if (byte_.size() - usati_ < n) {
      cresci(n);
    }
    char* p = byte_.data() + usati_;
    usati_ += n;
    return p;
  }
  void cresci(size_t n);

  template <typename U>
  void accoda_basso_prima(U v) {
    scrivi_basso_prima(spazio(sizeof(U)), v);
  }

  std::string byte_;  // the bytes written, then room not yet used
  size_t usati_ = 0;
};
