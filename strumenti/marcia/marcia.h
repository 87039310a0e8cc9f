// The timetable checked against the line: the fastest run of the train from stop to stop
// under the line's ceilings, and for each stretch between two timed points its scheduled time
// against the fastest run and against the ceilings alone. A pure function of the compiled
// model (or of the entry and track files read back) and of the parameters; the README states
// the model.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/scenario.h"
#include "strumenti/marcia/parametri_marcia.h"

enum class EsitoTratta : uint8_t { ok, stretto, impossibile, impossibile_con_ogni_treno };

// "ok", "stretto", "impossibile" or "impossibile-con-ogni-treno".
std::string_view testo_esito(EsitoTratta e);

// The stretch from one timed point to the next. A time is infinite where a ceiling of 0 km/h
// stops every train, or where the train cannot start.
struct Tratta {
  std::string da;  // station names as the entries hold them (Windows-1252), trimmed
  std::string a;
  int voce_da = 0;  // the stations' entries in `voci`: the row of `voce_a` ends the stretch
  int voce_a = 0;
  int64_t da_m = 0;  // the head's chainage at either end
  int64_t a_m = 0;
  int64_t metri = 0;
  int64_t programmato_s = 0;  // from the departure or passing time to the arrival or passing
  double piu_veloce_s = 0;
  double limite_s = 0;   // at the cell ceiling everywhere, with no train length
  double margine_s = 0;  // scheduled minus fastest
  EsitoTratta esito = EsitoTratta::ok;
};

// A stretch of head positions, da_m to a_m inclusive, at one train ceiling.
struct TettoTreno {
  int64_t da_m = 0;
  int64_t a_m = 0;
  double velocita_ms = 0;
};

// The fastest run, one value per metre: index i is the head at chainage inizio_m + i, from
// the first stop to the last. Single precision is enough to draw it; the stretches' figures
// are summed in double.
struct ProfiloMarcia {
  int64_t inizio_m = 0;
  std::vector<float> velocita_ms;
  std::vector<float> tempo_s;           // running time from the first departure, stops not counted
  std::vector<TettoTreno> tetto_treno;  // in running order, each one after the other
};

struct Marcia {
  std::vector<int32_t> tetto_celle_kmh;  // by cell: cell k covers 50k - 25 to 50k + 25 m
  ProfiloMarcia profilo;
  std::vector<Tratta> tratte;  // in running order; none with fewer than two timed points
  // Why there is no run: the parameters, the train or the timed points make none. Empty
  // otherwise.
  std::string difetto;
};

// The train is the one of entry 84: its number of cars and its braked-mass percentage.
Marcia verifica_marcia(const std::array<Voce, kNumeroVoci>& voci,
                       const std::vector<Cella>& percorso, const ParametriMarcia& parametri);
Marcia verifica_marcia(const Scenario& s, const ParametriMarcia& parametri);
// The same in the storage of `spazio`, a previous result: a caller that checks again on every
// save or keystroke saves the first touch of fresh memory, which costs more than the check.
Marcia verifica_marcia(const std::array<Voce, kNumeroVoci>& voci,
                       const std::vector<Cella>& percorso, const ParametriMarcia& parametri,
                       Marcia spazio);
