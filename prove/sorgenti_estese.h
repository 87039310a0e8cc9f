// Line and train sources of any length up to 1,000,000 m at the density of the built-in
// scenario, for measuring how the whole job grows with the line. The built-in rows are laid
// again every built-in length (101,000 m) further along the route, section by section, so the
// curves, gradients, boards, signals, slow-downs and the speed and adhesion profiles keep
// their mix and spacing; general rows appear once, with the new length. A row is dropped when
// its position is not before the new length, a curve when it does not end before it. The
// items that the model bounds stop at its bounds: 80 tunnel rows, and of the 78 entries that
// signs and stations share, 49 signs and 29 stations as in the built-in sources.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/scenario.h"
#include "platform/disco.h"

struct SorgentiEstese {
  std::string linea;
  std::string treno;
};

// The two texts (lines ended by CR LF) extended to `metri` (1 to 1,000,000; anything else,
// or a text that does not read as the built-in sources do, throws std::invalid_argument).
// With the built-in length they come back unchanged.
SorgentiEstese estendi_sorgenti(std::string_view linea, std::string_view treno, int32_t metri);

// The built-in sources, as their writers' lines make them, extended to `metri`.
SorgentiEstese sorgenti_estese(int32_t metri);

// Writes both sources into `cartella` of `disco` under the names the compile reads for `s`.
void scrivi_sorgenti(piattaforma::Disco& disco, const Scenario& s, const std::string& cartella,
                     const SorgentiEstese& f);
