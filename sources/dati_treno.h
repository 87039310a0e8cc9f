// Writes the train source: the train and its run over the line.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario.h"

// Writes the file into `cartella` and returns the number of lines written.
int32_t dati_treno(const Scenario& s, const std::string& cartella);
