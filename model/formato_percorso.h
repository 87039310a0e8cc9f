// The track file and the track it carries: one 15-byte record per 50 m cell, the fields of
// `Cella` in order, little-endian, with no padding; the line's length bounds and the track
// beyond its end; and the packings of the values that the recorders put into a cell. The
// writer, the reader, the inspector and the page all take the layout from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Metres of one cell.
inline constexpr int32_t kMetriCella = 50;
// The longest line a source may give, and the metres of track laid after its end.
inline constexpr int32_t kLunghezzaMassima = 1000000;
inline constexpr int32_t kEstensione = 7000;

// The fields of a cell record, in file order.
enum class CampoCella : uint8_t {
  genere,
  valore_1,
  valore_2,
  valore_3,
  valore_4,
  tempo_segnale,
  avvicinamento,
  galleria,
  velocita_massima,
  pendenza_cella,
  aderenza_cella,
};

struct FormatoCampo {
  std::string_view nome;
  int64_t larghezza;  // bytes
};

inline constexpr std::array<FormatoCampo, 11> kCampiCella = {{
    {"genere", 1},
    {"valore_1", 2},
    {"valore_2", 2},
    {"valore_3", 2},
    {"valore_4", 2},
    {"tempo_segnale", 1},
    {"avvicinamento", 1},
    {"galleria", 1},
    {"velocita_massima", 1},
    {"pendenza_cella", 1},
    {"aderenza_cella", 1},
}};

// Offset of the field from the start of its record.
constexpr int64_t scostamento(CampoCella c) {
  int64_t s = 0;
  for (size_t i = 0; i < static_cast<size_t>(c); ++i) {
    s += kCampiCella[i].larghezza;
  }
  return s;
}

inline constexpr int64_t kByteCella = scostamento(CampoCella::aderenza_cella) + 1;
static_assert(kByteCella == 15);

// A speed board holds three pairs of speeds, each packed as the first speed times 20 plus the
// second in steps of 5 km/h: the pair's number is (second + 100 x first) / 5, rounded.
inline constexpr int64_t kPassoVelocita = 5;
inline constexpr int64_t kPesoVelocitaSinistra = 100;
inline constexpr int64_t numeratore_coppia(int64_t prima, int64_t seconda) {
  return seconda + kPesoVelocitaSinistra * prima;
}
struct CoppiaVelocita {
  int32_t prima;    // as the board gives it
  int32_t seconda;  // km/h
};
inline constexpr CoppiaVelocita spacchetta_coppia(int16_t v) {
  return {v / 20, v % 20 * static_cast<int32_t>(kPassoVelocita)};
}
// A cell's speed limit is held in steps of 5 km/h.
inline constexpr int32_t velocita_della_cella(uint8_t v) {
  return v * static_cast<int32_t>(kPassoVelocita);
}
