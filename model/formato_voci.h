// The entry file: the 87 entries of `voci` in order, each record the fields of `Voce` in order,
// little-endian, with no padding, its text as a 16-bit length and that many bytes. The writer,
// the reader, the inspector and the page all take the layout from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/formato_percorso.h"

// The fields of an entry record, in file order.
enum class CampoVoce : uint8_t {
  categoria,
  inizio_area,
  fine_area,
  progressiva_voce,
  marca_1,
  lunghezza_testo,
  testo,
  dato_1,
  dato_2,
  dato_3,
  dato_4,
  dato_5,
  marca_2,
  marca_3,
  marca_4,
  marca_5,
  orario,
};

// The text's width is its length: 0 here.
inline constexpr std::array<FormatoCampo, 17> kCampiVoce = {{
    {"categoria", 1},
    {"inizio_area", 4},
    {"fine_area", 4},
    {"progressiva_voce", 4},
    {"marca_1", 1},
    {"lunghezza del testo", 2},
    {"testo", 0},
    {"dato_1", 2},
    {"dato_2", 2},
    {"dato_3", 2},
    {"dato_4", 2},
    {"dato_5", 2},
    {"marca_2", 1},
    {"marca_3", 1},
    {"marca_4", 1},
    {"marca_5", 1},
    {"orario", 4},
}};

// Offset of the field from the start of a record whose text has `lunghezza_testo` bytes.
constexpr int64_t scostamento(CampoVoce c, int64_t lunghezza_testo) {
  int64_t s = 0;
  for (size_t i = 0; i < static_cast<size_t>(c); ++i) {
    s += static_cast<CampoVoce>(i) == CampoVoce::testo ? lunghezza_testo : kCampiVoce[i].larghezza;
  }
  return s;
}

inline constexpr int64_t kByteVoceSenzaTesto = scostamento(CampoVoce::orario, 0) + 4;
static_assert(kByteVoceSenzaTesto == 34);
// The longest text a 16-bit length field tells.
inline constexpr size_t kMassimoTesto = UINT16_MAX;
// The kilometre value that the chainage ordering adds to a falling reference (entries 81 to 83).
inline constexpr int32_t kAggiuntaRiferimento = 100;
