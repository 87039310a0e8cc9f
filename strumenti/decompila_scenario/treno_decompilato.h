// The train half of the decompiler, mirroring the parser's train phase: the rows of the train
// source found from what each leaves in the files (the stations and the general rows from
// their entries, the adhesion and speed profiles, the slow-downs and the signals from the
// cells), with the order that the rows writing over each other's approach marks ask for. The
// source points are left to the proof, which learns from each compile which of them the
// compile's own pass places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "strumenti/decompila_scenario/marche_avvicinamento.h"
#include "strumenti/decompila_scenario/ordine_righe.h"
#include "strumenti/decompila_scenario/righe_allineate.h"
#include "strumenti/decompila_scenario/stato_decompilazione.h"

// The rows found, by section, aligned as the built-in sources write them.
struct TrenoDecompilato {
  std::string generale;
  RigheAllineate aderenze{"aderenza", {8, 6}};
  RigheAllineate velocita{"velocita", {8, 6}};
  RigheAllineate stazioni{"stazione", {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2}, " "};
  RigheAllineate rallentamenti{"rallentamento", {8, 6, 5, 2, 3, 3}};
  RigheAllineate segnali{"segnale", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2}};
  MarcheDelTreno marche;  // its nodes are the stations, slow-downs and signals above
  OrdineRighe ordine;     // of those nodes
};

// Finds the rows; records in `s` the stop markers that cover an item found and the end of the
// stations' entries.
void ricava_treno(StatoDecompilazione& s, TrenoDecompilato& t);

// The train source with a source point in each of `punti` (cells of `celle`), its sections
// in order, lines ended by CR LF.
std::string testo_treno(const TrenoDecompilato& t, const std::vector<Cella>& celle,
                        const std::vector<int64_t>& punti);
