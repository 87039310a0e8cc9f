// The whole in-memory state of the compiler: the track in 50 m cells, the plan of the line in
// 1 m points, the 87 entries for stations, sign texts and general data, the tunnel tables
// with their counter, and the error state. Plain data: the compiler's functions read and
// write the fields directly. Loop counters and scratch text are the business of the
// functions that use them, and live there.
//
// Texts are held as Windows-1252 bytes, one byte per character, exactly as they are read from
// the sources and written to the binary files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/codici_errore.h"
#include "model/tracciato.h"

// Metres of chainage in one cell of the track.
inline constexpr int32_t kMetriCella = 50;
// Metres of track built beyond the end of the line, in the plan and in the cells.
inline constexpr int32_t kEstensioneOltreLaLinea = 7000;

// One 50 m cell of the track, fields in the order of the track file.
struct Cella {
  uint8_t genere = 0;  // kind of item in the cell, 0 = none
  int16_t valore_1 = 0;
  int16_t valore_2 = 0;
  int16_t valore_3 = 0;
  int16_t valore_4 = 0;
  uint8_t tempo_segnale = 0;
  uint8_t avvicinamento = 0;     // approach mark before a signal or a station stop
  uint8_t galleria = 0;          // tunnel kind 1 to 3, 0 = open air
  uint8_t velocita_massima = 0;  // km/h divided by 5
  uint8_t pendenza_cella = 0;    // per mille plus 100
  uint8_t aderenza_cella = 0;

  bool operator==(const Cella&) const = default;
};

// Kinds of `Cella::genere`.
enum Genere : uint8_t {
  kNessuno = 0,
  kSegnale = 1,
  kFineRallentamento = 2,
  kInizioRallentamento = 3,
  kAvvisoRallentamento = 4,
  kPrimaDellAvviso = 5,
  kIndicatoreVelocita = 6,
  kFermata = 10,
  kRiempitivoGalleria = 11,
  kAbbattimentoConVelocita = 12,
  kAbbattimentoSenzaVelocita = 13,
  kCartello = 14,
};

// A cell is occupied when it holds an item; the tunnel filler counts as free, so that later
// items may be placed over it.
inline bool occupata(const Cella& c) {
  return c.genere != kNessuno && c.genere != kRiempitivoGalleria;
}

// One entry of `voci`, fields in the order of the entry file. The names carry their station
// meaning; entries 81 to 86 reuse them as general records.
struct Voce {
  uint8_t categoria = 0;
  int32_t inizio_area = 0;
  int32_t fine_area = 0;
  int32_t progressiva_voce = 0;
  uint8_t marca_1 = 0;
  std::string testo;
  int16_t dato_1 = 0;
  int16_t dato_2 = 0;
  int16_t dato_3 = 0;
  int16_t dato_4 = 0;
  int16_t dato_5 = 0;
  uint8_t marca_2 = 0;
  uint8_t marca_3 = 0;
  uint8_t marca_4 = 0;
  uint8_t marca_5 = 0;
  int32_t orario = 0;  // seconds after midnight

  bool operator==(const Voce&) const = default;
};

inline constexpr int kNumeroVoci = 87;
inline constexpr int kNumeroMontagne = 81;  // entry 0 is never used

// Fixed entries of `voci`.
inline constexpr int kVoceProgressivaTre = 81;
inline constexpr int kVoceProgressivaDue = 82;
inline constexpr int kVoceProgressivaUno = 83;
inline constexpr int kVoceTreno = 84;
inline constexpr int kVoceScenario = 85;
inline constexpr int kVoceRipetizione = 86;
inline constexpr int kPrimaVoceCartello = 80;

struct Scenario {
  int32_t conta_montagne = 0;  // tunnel rows recorded, index into the tunnel tables
  int32_t con_tracciato = 0;   // non-zero: build the plan and write the plan file
  std::string numero_treno;
  std::string nome_scenario;
  int32_t lunghezza_estesa = 0;
  int32_t ultima_cella = 0;
  int32_t codice_errore = kNessunErrore;  // a CodiceErrore
  int32_t posizione_errore = 0;           // metres

  Tracciato tracciato;
  // Cells 0 to `ultima_cella`; empty until the line parser has read the length row.
  std::vector<Cella> percorso;
  std::array<Voce, kNumeroVoci> voci{};
  std::array<int32_t, kNumeroMontagne> montagne_inizio{};
  std::array<int32_t, kNumeroMontagne> montagne_fine{};
};
