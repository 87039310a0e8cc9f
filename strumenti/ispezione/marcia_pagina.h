// The timetable check as the page draws it, small enough for a line of 1000 km: the cell
// ceiling and the train's as steps, the stretches where a slow-down lowers the ceiling, the
// fastest run reduced to the points that a straight line between them cannot leave out, the
// timed points with their times, and each stretch with its figures and verdict.
#pragma once

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "model/scenario.h"
#include "strumenti/marcia/marcia.h"

// How far a straight line between two kept points of the run may stray from the run: in speed
// (finer than a pixel of the speed chart at any zoom) and in time.
inline constexpr double kTolleranzaVelocitaKmh = 0.2;
inline constexpr double kTolleranzaTempoS = 0.5;

struct PuntoCorsa {
  int64_t metro = 0;
  double velocita_kmh = 0;
  double tempo_s = 0;  // from the first departure, stops not counted; infinite once the run
                       // cannot go on
};

// The points of the fastest run that keep every metre of it within the tolerances of the
// straight line between the kept points around it, in speed and in time (an infinite time
// counts as equal only to an infinite time). The first and last metres are always kept.
std::vector<PuntoCorsa> corsa_ridotta(const ProfiloMarcia& p, double tolleranza_kmh,
                                      double tolleranza_s);

// The check's data for the page: "tetto", "tetto_treno" and "rallentamenti" as [from, to,
// km/h] ranges of chainage, "corsa" as [metre, km/h, s] points, "punti" (the timed points),
// "tratte" and, when there is no run, "difetto". `voci` and `percorso` are those the check ran
// on. Names in UTF-8; a time that never ends is null. The run's points are in tenths; the
// stretches' seconds are exact, so that the page words them as the warnings do.
nlohmann::ordered_json dati_marcia(const Marcia& m, const std::array<Voce, kNumeroVoci>& voci,
                                   const std::vector<Cella>& percorso);
