#include "strumenti/lingua_scenario/testo_editor.h"

#include <cstdint>
#include <optional>

#include "sources/codifica_1252.h"

namespace {

// How many bytes the UTF-8 character starting with `primo` takes; 1 for a byte that starts none.
size_t lunghezza_utf8(unsigned char primo) {
  if ((primo & 0xE0) == 0xC0) {
    return 2;
  }
  if ((primo & 0xF0) == 0xE0) {
    return 3;
  }
  if ((primo & 0xF8) == 0xF0) {
    return 4;
  }
  return 1;
}

// The character at `i`, or none for bytes that are no well-formed UTF-8 (one byte is then
// taken). `i` moves past what was taken.
std::optional<char32_t> decodifica(std::string_view t, size_t& i) {
  const auto primo = static_cast<unsigned char>(t[i]);
  const size_t n = lunghezza_utf8(primo);
  if (n == 1) {
    ++i;
    if (primo < 0x80) {
      return primo;
    }
    return std::nullopt;
  }
  if (i + n > t.size()) {
    ++i;
    return std::nullopt;
  }
  char32_t c = primo & (0x7Fu >> n);
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(t[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return std::nullopt;
    }
    c = (c << 6) | (b & 0x3Fu);
  }
  constexpr char32_t kMinimo[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMinimo[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return std::nullopt;
  }
  i += n;
  return c;
}

// How the editor counts a character of `n` UTF-8 bytes.
int unita_di(size_t n, UnitaPosizione unita) {
  if (unita == UnitaPosizione::utf8) {
    return static_cast<int>(n);
  }
  return n == 4 ? 2 : 1;
}

}  // namespace

TestoEditor::TestoEditor(std::string utf8) : utf8_(std::move(utf8)) {
  byte_.reserve(utf8_.size());
  inizi_.push_back(0);
  inizi_byte_.push_back(0);
  int riga = 1;
  int colonna = 1;
  size_t i = 0;
  while (i < utf8_.size()) {
    const char c = utf8_[i];
    if (c == '\r' || c == '\n') {
      fini_.push_back(i);
      fini_byte_.push_back(byte_.size());
      byte_ += c;
      ++i;
      if (c == '\r' && i < utf8_.size() && utf8_[i] == '\n') {
        byte_ += '\n';
        ++i;
      }
      inizi_.push_back(i);
      inizi_byte_.push_back(byte_.size());
      ++riga;
      colonna = 1;
      continue;
    }
    const std::optional<char32_t> car = decodifica(utf8_, i);
    const std::optional<char> b = car ? ::byte_1252(*car) : std::nullopt;
    if (!b) {
      mancanti_.push_back({riga, colonna});
    }
    byte_ += b.value_or('?');
    ++colonna;
  }
  fini_.push_back(utf8_.size());
  fini_byte_.push_back(byte_.size());
}

std::string_view TestoEditor::riga_1252(int r) const {
  if (r < 0 || r >= righe()) {
    return {};
  }
  const auto k = static_cast<size_t>(r);
  return std::string_view(byte_).substr(inizi_byte_[k], fini_byte_[k] - inizi_byte_[k]);
}

std::string_view TestoEditor::riga(int r) const {
  if (r < 0 || r >= righe()) {
    return {};
  }
  const auto k = static_cast<size_t>(r);
  return std::string_view(utf8_).substr(inizi_[k], fini_[k] - inizi_[k]);
}

int TestoEditor::carattere(int r, int colonna, UnitaPosizione unita) const {
  const std::string_view t = riga(r);
  int fuori = 0;
  size_t i = 0;
  for (int c = 1; c < colonna && i < t.size(); ++c) {
    const size_t prima = i;
    decodifica(t, i);
    fuori += unita_di(i - prima, unita);
  }
  return fuori;
}

int TestoEditor::colonna(int r, int carattere, UnitaPosizione unita) const {
  const std::string_view t = riga(r);
  int contati = 0;
  int colonna = 1;
  size_t i = 0;
  while (i < t.size() && contati < carattere) {
    const size_t prima = i;
    decodifica(t, i);
    contati += unita_di(i - prima, unita);
    ++colonna;
  }
  return colonna;
}
