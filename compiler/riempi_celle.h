// The forward fill of one layer of the track (gradient, speed, adhesion) from rows of
// (position, value): each value applies from its own row's cell up to the cell before the
// next row's, and the cells before the first row get what the value 0 gives.
#pragma once

#include <cstdint>

#include "model/scenario.h"

// A gradient in per mille is kept in its cell as this much more.
inline constexpr int32_t kPendenzaInCella = 100;

struct Riempimento {
  uint8_t Cella::*campo;
  // What a row value puts into the cell; raises ErroreEsecuzione when it does not fit.
  uint8_t (*in_cella)(int32_t valore);
  // The speed layer never fills the last cell.
  bool salta_ultima_cella = false;
  int64_t posizione = 0;   // the next cell to fill
  int32_t precedente = 0;  // the value of the last row
};

Riempimento riempimento_pendenze();  // per mille plus 100, from -100 to 155
Riempimento riempimento_velocita();  // km/h in units of 5, rounded
Riempimento riempimento_aderenze();  // the low 8 bits of the value

// A row at `posizione`: fills up to the cell before the one holding it (at least one cell
// when that cell is above 0, even one already filled), then keeps `valore` for the next fill.
void riempi_celle(Scenario& s, Riempimento& r, int32_t posizione, int32_t valore);

// After the last row: fills at least one cell and on up to the third cell from the end, so
// that the last three keep 0.
void riempi_coda(Scenario& s, Riempimento& r);
