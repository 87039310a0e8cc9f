// Test support: a scenario compiled on a disk in memory, from the built-in run or from any two
// sources, with the bytes of the three binary files it left (empty where none was written).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/scenario.h"

struct ScenarioCompilato {
  Scenario s;
  std::string tracciato;
  std::string voci;
  std::string percorso;
};

// The built-in run, exactly as Form_Load does it; compiled once per test program.
const ScenarioCompilato& scenario_incorporato();

// Sources of scenario "Prova", train "1", compiled as the run compiles them. Failures that
// end the run (a stamp conflict, a text too long for the entry file) leave by exception.
// Without a train source the compile finds none, as when the file is missing.
ScenarioCompilato compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno);
