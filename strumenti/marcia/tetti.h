// The speed ceilings of the run: the line's, cell by cell, with the slow-downs laid over it,
// and the train's, which keeps a lower ceiling until the whole train has left it.
//
// The run is cut into metres: metre m is the stretch [m, m + 1] of chainage, and it lies in
// one cell, as cell k covers the chainages from 50k - 25 to 50k + 25.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/scenario.h"

// The cell that metre m lies in: (m + 25) / 50 rounded down, so that every chainage inside
// the metre is in the cell that the cell rule gives it.
int64_t cella_del_metro(int64_t m);

// Each cell's ceiling in km/h: its line speed, or from a slow-down's start cell through its
// end cell the slow-down's speed when it is lower. Never below 0.
std::vector<int32_t> tetto_celle_kmh(const std::vector<Cella>& percorso);

// The train's ceiling at each head position p = da, da + 1, ..., a: the lowest cell ceiling
// of the metres the train covers while its head runs the metre before p and the metre after,
// [p - 1 - lunghezza_m, p + 1]. So the speed at p keeps a lower ceiling until the tail has
// left it over the whole metre before, and meets a lower ceiling ahead at once. Metres
// before cell 0 or after the last cell take the nearest cell's ceiling. `uscita` gets a - da + 1
// values, in the unit of `tetto_celle`.
void tetto_treno(std::span<const double> tetto_celle, int64_t da, int64_t a, double lunghezza_m,
                 std::vector<float>& uscita);
