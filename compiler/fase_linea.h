// The line phase of the parser: reads the line source (general rows, curves into the plan,
// gradients, tunnels, speed boards and sign boards) and deletes it. Returns true when the
// train phase follows, false when a data error ended the parse.
#pragma once

#include "compiler/stato_lettura.h"

bool fase_linea(StatoLettura& l);
