// Test support: the bytes of a plan file holding a plan read back, tag by tag as the plan
// holds them: the inverse of leggi_tracciato, for files a test damages or builds by hand.
#pragma once

#include <string>

#include "compiler/tracciato_letto.h"

std::string immagine_tracciato_letto(const TracciatoLetto& t);
