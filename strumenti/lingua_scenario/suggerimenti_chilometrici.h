// The kilometre reading beside each chainage field of a source, for the editor's inlay hints:
// the reading of that chainage by the line's kilometre references, as the hover and the
// inspector's table give it, and for a row whose item stands in the cell after its position,
// that cell. Plain values with byte places; the protocol shapes them.
#pragma once

#include <string>
#include <vector>

#include "compiler/compila.h"
#include "strumenti/lingua_scenario/analisi_sorgente.h"

struct SuggerimentoCampo {
  PuntoByte punto;    // just after the field's value
  std::string testo;  // "km 90.050", or "km 99.950, cella 21"
};

// The hints of the lines `da` to `a` (from 0, both included) of `s`, by the model of compile
// `c`, in the order of the text. None beside a chainage with no reading (before the first
// reference) or that is no number.
std::vector<SuggerimentoCampo> suggerimenti_chilometrici(const SorgenteLetta& s, int da, int a,
                                                         const Compilazione& c);
