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
// Speeds are kept in steps of this many km/h.
inline constexpr int32_t kPassoVelocita = 5;
// A board's left and right speed in one field: (right + left * kPesoVelocitaSinistra) in steps.
inline constexpr int32_t kPesoVelocitaSinistra = 100;
// A tunnel stretch that begins this many metres or less after the previous one ends becomes
// of this kind.
inline constexpr int32_t kDistanzaGallerieVicine = 150;
inline constexpr int32_t kTipoGallerieVicine = 3;
// A slow-down's warning board stands this many metres before it.
inline constexpr int32_t kDistanzaAvviso = 1200;
// A signal's time from 1 to this is raised to one more.
inline constexpr int32_t kTempoSegnaleMinimo = 100;

// A tunnel stretch. `tipo` above 10 marks a flagged stretch of kind `tipo` - 10, which gets a
// filler mark every fourth cell; a stretch that begins 150 m or less after the previous one
// ends becomes kind 3. `tipo` is left holding the kind recorded.
void memo_montagna(Scenario& s, Registrazione& r, int32_t inizio, int32_t fine, int32_t& tipo);

// A maximum-speed board: code 21 when its cell is taken.
void memo_indicatori_v_max(Scenario& s, Registrazione& r, int32_t posizione, int32_t vas,
                           int32_t vbs, int32_t vcs, int32_t strisces, int32_t vad, int32_t vbd,
                           int32_t vcd, int32_t strisced);

// A signal and its four approach marks: code 16 when its cell is taken. A `tempo` from 1 to
// 100 becomes 101 in the caller's variable.
void memo_segnale(Scenario& s, Registrazione& r, int32_t posizione, int32_t sx, int32_t s1,
                  int32_t s2, int32_t s3, int32_t rapp, int32_t dx, int32_t d1, int32_t d2,
                  int32_t d3, int32_t& tempo);

// A slow-down from `x` for `l` metres at `v` km/h, with its warning board 1200 m before it
// when it starts after 1500 m: codes 17 to 20 when a cell it needs is taken.
void memo_rallentamento(Scenario& s, Registrazione& r, int32_t x, int32_t v, int32_t l,
                        int32_t f_tt, int32_t f_ta, int32_t d_v);
