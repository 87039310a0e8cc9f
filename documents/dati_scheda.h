// Writes the driver's timetable card.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario.h"

// Writes the file into `cartella` and returns the number of lines written.
int32_t dati_scheda(const Scenario& s, const std::string& cartella);
