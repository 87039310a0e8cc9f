// What changed between two compiled scenarios: the stretches of the line whose cells, entries
// or plan points differ, each said by place the way an author reads it (a station moved, its
// time, a signal added, a speed limit changed from metre a to metre b), in running order.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "strumenti/ispezione/ispezione.h"
#include "strumenti/ispezione/riepilogo.h"

struct Cambiamento {
  // The stretch of chainage, in metres, that the change covers (da == a for a single point).
  // What belongs to no place (the train's make-up, the clock) has `sulla_linea` false.
  int32_t da = 0;
  int32_t a = 0;
  bool sulla_linea = true;
  std::string cosa;         // "stazione", "segnale", "cartello", "velocita", "pianta", ...
  std::string descrizione;  // UTF-8, a sentence for a person

  bool operator==(const Cambiamento&) const = default;
};

// The changes from `prima` to `dopo`, those without a place first, then by chainage.
std::vector<Cambiamento> confronta(const Ispezione& prima, const Riepilogo& riepilogo_prima,
                                   const Ispezione& dopo, const Riepilogo& riepilogo_dopo);

// One line per change: "1250-1300 m: segnale aggiunto a 1250 m".
std::string testo_cambiamenti(const std::vector<Cambiamento>& cambiamenti);

nlohmann::ordered_json json_cambiamenti(const std::vector<Cambiamento>& cambiamenti);
