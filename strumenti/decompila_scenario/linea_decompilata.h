// The line half of the decompiler, mirroring the parser's line phase: the rows of the line
// source found from what each leaves in the files (the general rows and the kilometre
// references from their entries, the curves from the plan's points, the gradients, tunnels,
// speed boards and signs from the cells). The boards a stop marker covers and the signs come
// after the train half, which finds the stations and the items the stop markers cover.
#pragma once

#include <string>

#include "strumenti/decompila_scenario/righe_allineate.h"
#include "strumenti/decompila_scenario/stato_decompilazione.h"

// The rows found, by section, aligned as the built-in sources write them.
struct LineaDecompilata {
  std::string generale;
  RigheAllineate curve{"curva", {8, 6}};
  RigheAllineate pendenze{"pendenza", {8, 5}};
  RigheAllineate montagne{"montagna", {8, 8, 4}};
  RigheAllineate indicatori{"indicatori_vmax", {8, 5, 5, 5, 3, 3, 3, 3, 3}};
  RigheAllineate cartelli{"cartello_indicatore", {8}, "   "};
};

// The general rows, curves, gradients, tunnels and the speed boards in sight.
void ricava_linea(StatoDecompilazione& s, LineaDecompilata& l);
// After the train half: the boards that stop markers cover, and the signs.
void completa_linea(StatoDecompilazione& s, LineaDecompilata& l);

// The line source, its sections in order, lines ended by CR LF.
std::string testo_linea(const LineaDecompilata& l);
