// The item recorders: each turns one parsed source row into marks on the track. A conflict
// with an item already in a cell sets `codice_errore` (16 to 21), keeps the taken cell in the
// row's Registrazione and returns; the caller records the position and stops. Every cell a
// recorder puts an item in is marked as coming from the row. An index outside the track or
// the tunnel tables raises ErroreEsecuzione. Values arrive as the parser's 32-bit variables;
// packed sums keep their low 16 or 8 bits.
#pragma once

#include <cstdint>

#include "compiler/provenienze.h"
#include "model/scenario.h"

// How the recorders pack the values of a row into the 16-bit fields of a cell.
// Two values a, b in one field: a * kPesoCoppia + b (signal aspects, a board's stripes, a
// signal's report flag over its class).
inline constexpr int32_t kPesoCoppia = 10;
// The class of a signal: sx * kPesoLatoSinistro + dx.
inline constexpr int32_t kPesoLatoSinistro = 3;
// A tunnel stretch that begins this many metres or less after the previous one ends becomes
// of this kind.
inline constexpr int32_t kDistanzaGallerieVicine = 150;
inline constexpr int32_t kTipoGallerieVicine = 3;
// A slow-down's warning board stands this many metres before it; a slow-down that starts at
// this chainage or before has none.
inline constexpr int32_t kDistanzaAvviso = 1200;
inline constexpr int32_t kUltimoInizioSenzaAvviso = 1500;
// A signal's time from 1 to this is raised to one more.
inline constexpr int32_t kTempoSegnaleMinimo = 100;

// The rows of each kind that a recorder takes, their fields named and ordered as the source
// gives them.
struct RigaMontagna {
  int32_t inizio = 0;
  int32_t fine = 0;
  int32_t tipo = 0;
};

struct RigaIndicatori {
  int32_t posizione = 0;
  int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;  // the left side
  int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;  // the right side
};

struct RigaSegnale {
  int32_t posizione = 0;
  int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0;
  int32_t rapp = 0;
  int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0;
  int32_t tempo = 0;
};

struct RigaRallentamento {
  int32_t x = 0;  // where it starts
  int32_t v = 0;  // km/h
  int32_t l = 0;  // metres
  int32_t f_tt = 0;
  int32_t f_ta = 0;
  int32_t d_v = 0;
};

// A tunnel stretch. `tipo` above 10 marks a flagged stretch of kind `tipo` - 10, which gets a
// filler mark every fourth cell; a stretch that begins 150 m or less after the previous one
// ends becomes kind 3. The row's `tipo` is left holding the kind recorded.
void memo_montagna(Scenario& s, Registrazione& r, RigaMontagna& riga);

// A maximum-speed board: code 21 when its cell is taken.
void memo_indicatori_v_max(Scenario& s, Registrazione& r, const RigaIndicatori& riga);

// A signal and its four approach marks: code 16 when its cell is taken. A `tempo` from 1 to
// 100 becomes 101 in the row.
void memo_segnale(Scenario& s, Registrazione& r, RigaSegnale& riga);

// A slow-down from `x` for `l` metres at `v` km/h, with its warning board 1200 m before it
// when it starts after 1500 m: codes 17 to 20 when a cell it needs is taken.
void memo_rallentamento(Scenario& s, Registrazione& r, const RigaRallentamento& riga);
