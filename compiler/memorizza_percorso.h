// The compile driver: reads the two sources from `cartella` back into the model, adds the
// automatic speed points, stamps the codes and writes the binary files into `cartella`.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario.h"

// `j` non-zero also builds the plan of the line and writes the plan file.
void memorizza_percorso(Scenario& s, const std::string& cartella, int32_t j);
