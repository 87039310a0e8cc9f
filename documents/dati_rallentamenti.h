// Writes the slow-down order for the driver.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario.h"

// Writes the file into `cartella` and returns the number of lines written.
int32_t dati_rallentamenti(const Scenario& s, const std::string& cartella);
