// What a source row becomes in the simulator's files, in words, for the editor's hover: for a
// positioned row its cell, the kilometre reading and the speed limit, board speeds, gradient
// and adhesion in force there; for a station its area, stop and time; for a curve its radius
// and where it ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compila.h"
#include "strumenti/lingua_scenario/righe_sorgente.h"

// The row's kind, what it is, and one entry for each thing it becomes ("cella 12").
struct DescrizioneRiga {
  std::string parola;
  std::string descrizione;
  std::vector<std::string> voci;
};

// `riga` is the line's bytes; the texts are UTF-8. None for a line that is no row.
std::optional<DescrizioneRiga> descrizione_riga(const RigaDelSorgente& letta, std::string_view riga,
                                                const Compilazione& c);
