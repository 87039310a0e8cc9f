// What a source row becomes in the simulator's files, in words, for the editor's hover: for a
// positioned row its cell, the kilometre reading and the speed limit, board speeds, gradient
// and adhesion in force there; for a station its area, stop and time; for a curve its radius
// and where it ends.
#pragma once

#include <cstdint>
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

// Items (signals, speed boards, slow-downs, signs) stand in the cell after their position;
// layers and points in the cell that holds it.
bool nella_cella_dopo(const FormaRiga& t);
// The cell the row of kind `t` at `posizione` is recorded in.
int64_t cella_della_riga(const FormaRiga& t, int64_t posizione);

// `riga` is the line's bytes; the texts are UTF-8. None for a line that is no row.
std::optional<DescrizioneRiga> descrizione_riga(const RigaDelSorgente& letta, std::string_view riga,
                                                const Compilazione& c);
