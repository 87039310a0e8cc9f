// The quick fixes: for a problem with one obvious repair, the edit of its field or its row
// that makes the source compile without it. A station position not a multiple of 50 and a
// station length not a multiple of 100 take the nearest valid value; an unknown keyword the
// nearest keyword of its section; a value after the row's own is removed; a row before
// "[generale]" moves under that header. Places in the compile's bytes, texts in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "strumenti/comune/diagnosi.h"
#include "strumenti/lingua_scenario/analisi_sorgente.h"

struct Correzione {
  std::string titolo;
  std::vector<ModificaTesto> modifiche;  // none overlaps another; places of the text before
};

// The repair of problem `d`, which lies in source `s`; none for a problem without one, or
// when the source no longer reads as the problem says.
std::optional<Correzione> correzione(const SorgenteLetta& s, const Diagnosi& d);

// The number of single-character insertions, deletions and replacements that turn `a` into
// `b`, ASCII letters compared without their case.
size_t distanza_di_modifica(std::string_view a, std::string_view b);
