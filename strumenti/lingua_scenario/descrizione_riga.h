// What a source row becomes in the simulator's files, in words, for the editor's hover: for a
// positioned row its cell, the kilometre reading and the speed limit, board speeds, gradient
// and adhesion in force there; for a station its area, stop and time; for a curve its radius
// and where it ends.
#pragma once

#include <string>
#include <string_view>

#include "compiler/compila.h"
#include "strumenti/lingua_scenario/righe_sorgente.h"

// `riga` is the line's bytes; the text is UTF-8. Empty for a line that is no row.
std::string descrizione_riga(const RigaDelSorgente& letta, std::string_view riga,
                             const Compilazione& c);
