// Cells of the track and the fixed-width values stored in the model: which cell holds a
// chainage, checked access to cells and entries, and the conversions into 8-bit and 16-bit
// fields. Every check raises ErroreEsecuzione.
#pragma once

#include <cstdint>

#include "model/formato_percorso.h"
#include "model/scenario.h"

// numeratore / divisore rounded to the nearest integer, halves to the even neighbour, computed
// exactly in integers (divisore > 0).
int64_t dividi_arrotonda(int64_t numeratore, int64_t divisore);

// The cell that holds chainage p: p / 50 rounded.
inline int64_t cella_di(int64_t p) {
  return dividi_arrotonda(p, kMetriCella);
}
// The chainage where cell k begins: the one position that cella_di takes to k and that every
// row kind accepts as its own.
inline int64_t inizio_cella(int64_t k) {
  return kMetriCella * k;
}
// The cell after it, where signals, boards, slow-downs and signs stand: p / 50 + 1 rounded
// as one real expression.
inline int64_t cella_dopo(int64_t p) {
  return dividi_arrotonda(p + kMetriCella, kMetriCella);
}

// A row at chainage p (or p + margine for a station) lies on the track when
// `ultima_cella` >= (p + margine) / 50.
inline bool nel_percorso(const Scenario& s, int64_t p, int64_t margine) {
  return int64_t{s.ultima_cella} * kMetriCella >= p + margine;
}

// Cell k of `percorso`; fails when the track does not exist yet or k lies outside it.
Cella& cella(Scenario& s, int64_t k);
// Entry i of `voci`; fails outside 0 to 86.
Voce& voce(Scenario& s, int64_t i);

// The low 8 or 16 bits of a value, as the recorders store their packed sums.
inline uint8_t basso_8(int64_t v) {
  return static_cast<uint8_t>(v & 0xFF);
}
inline int16_t basso_16(int64_t v) {
  return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF));
}

// A value stored into a field that it must fit: fails when it does not.
uint8_t in_8(int64_t v);
int16_t in_16(int64_t v);
int32_t in_32(int64_t v);
