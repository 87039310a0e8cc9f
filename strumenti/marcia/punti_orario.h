// The timed points of the run, from the compiled stations: each station with a time, in
// running order, with where the train's head stands or passes there and its times.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/scenario.h"

struct PuntoOrario {
  int voce = 0;      // the station's entry in `voci`
  std::string nome;  // as the entry holds it (Windows-1252), without blanks at either end
  int64_t posizione_m = 0;
  // The train stands here: the first point, the last, and every one with a stop duration.
  bool fermata = false;
  int64_t arrivo_s = 0;  // seconds after midnight; the passing time at a point passed
  int64_t partenza_s = 0;
};

struct PuntiOrario {
  std::vector<PuntoOrario> punti;
  // Why the points make no run: one outside the track, or one not beyond the one before.
  // Empty when they do.
  std::string difetto;
};

// The stations are the entries from 1 up to the first cleared one; a station is a timed point
// when its time (`orario`) is not 0. The train stands with its head on the stop marker's cell
// (50 m times the cell) at a station of a category below 25, at the station's position at the
// others; it passes a point without a stop at the station's position. The time of a stop is
// its departure, and its arrival is that time minus the stop duration; the first point's time
// is its departure, the last one's its arrival.
PuntiOrario punti_orario(const std::array<Voce, kNumeroVoci>& voci,
                         const std::vector<Cella>& percorso);
