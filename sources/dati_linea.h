// The line source: the railway line, its curves, gradients, tunnels, boards and signs.
#pragma once

#include "sources/scrivi_righe.h"

// The lines of the file, ended by the sentinel.
Righe dati_linea();
