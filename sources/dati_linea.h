// Writes the line source: the railway line, its curves, gradients, tunnels, boards and signs.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario.h"

// Writes the file into `cartella` and returns the number of lines written.
int32_t dati_linea(const Scenario& s, const std::string& cartella);
