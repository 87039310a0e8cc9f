// The one little-endian byte writer of the binary files: fixed-width numbers are appended
// byte by byte, low byte first, with no padding; a text goes as a 16-bit length and its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class ScrittoreByte {
 public:
  void riserva(size_t n) { byte_.reserve(n); }

  void u8(uint8_t v) { byte_.push_back(static_cast<char>(v)); }
  void u16(uint16_t v);
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void i32(int32_t v);
  void f64(double v);  // IEEE 754 binary64

  // The length as a 16-bit unsigned number, then the bytes, no terminator. A text longer
  // than 65535 bytes cannot be told by its length field: std::length_error.
  void testo(std::string_view t);

  const std::string& byte() const { return byte_; }
  std::string prendi() && { return std::move(byte_); }

 private:
  std::string byte_;
};
