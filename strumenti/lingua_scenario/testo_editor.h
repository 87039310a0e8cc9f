// A source as an editor holds it: Unicode text in UTF-8, places counted in UTF-16 code units or
// in UTF-8 bytes from the start of a line. The compile reads the same source as Windows-1252
// bytes and counts columns in those bytes. Every character becomes one byte, so the lines and
// the characters before a place are the same in both; only how they are counted differs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class UnitaPosizione { utf16, utf8 };

// A character of the editor's text that Windows-1252 cannot hold (or bytes that are no UTF-8),
// at its line and column of the compile's bytes (both from 1); the problem's code names it.
inline constexpr std::string_view kCarattereSenzaByte = "carattere-senza-byte";
struct CarattereMancante {
  int riga = 0;
  int colonna = 0;
};

class TestoEditor {
 public:
  explicit TestoEditor(std::string utf8);

  const std::string& utf8() const { return utf8_; }
  // The bytes the compile reads; a character without a byte is there as '?'.
  const std::string& byte_1252() const { return byte_; }
  const std::vector<CarattereMancante>& mancanti() const { return mancanti_; }

  // Lines as the editor counts them (from 0); a text ending with a line end has an empty last
  // line after it.
  int righe() const { return static_cast<int>(inizi_.size()); }
  // Line `riga` (from 0) without its end; empty past the last line.
  std::string_view riga(int riga) const;
  // The same line as the compile's bytes.
  std::string_view riga_1252(int riga) const;

  // The editor's character offset (from 0) of the compile's column `colonna` (from 1) of line
  // `riga` (from 0). A column past the line's end gives the line's end.
  int carattere(int riga, int colonna, UnitaPosizione unita) const;
  // The compile's column (from 1) of the editor's offset `carattere` on line `riga`.
  int colonna(int riga, int carattere, UnitaPosizione unita) const;

 private:
  std::string utf8_;
  std::string byte_;
  std::vector<CarattereMancante> mancanti_;
  std::vector<size_t> inizi_;  // where each line begins in `utf8_`
  std::vector<size_t> fini_;   // where each line's text ends in `utf8_`
  std::vector<size_t> inizi_byte_;
  std::vector<size_t> fini_byte_;
};
