// The slow-down order for the driver.
#pragma once

#include "sources/scrivi_righe.h"

// The lines of the file, ended by the sentinel.
Righe dati_rallentamenti();
