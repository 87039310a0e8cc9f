// The train source: the train and its run over the line.
#pragma once

#include "sources/scrivi_righe.h"

// The lines of the file, ended by the sentinel.
Righe dati_treno();
