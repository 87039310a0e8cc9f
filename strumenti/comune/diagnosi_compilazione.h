// What a compile found, as the problems an author reads: every warning and every problem of
// the data in the order the compile met them, then a stamp conflict or a failure that stopped
// it, each pointing into the author's own files, with the source line and the note rows.
#pragma once

#include <string>
#include <vector>

#include "compiler/compila.h"
#include "strumenti/comune/diagnosi.h"

// A source as the author has it: the path they gave, the name the compile knows it by, and
// its bytes.
struct SorgenteAutore {
  std::string percorso;
  std::string nome;
  std::string testo;
};

// The warnings first, then the problems, in the order each was found. `sorgenti` are the line
// source and the train source; a place in a file that is neither keeps the compile's name.
std::vector<Diagnosi> diagnosi_della_compilazione(const Compilazione& c,
                                                  const std::vector<SorgenteAutore>& sorgenti);

// Whether the problems hold an error (a warning does not count).
bool ha_errori(const std::vector<Diagnosi>& diagnosi);
