// The driver's timetable card.
#pragma once

#include "sources/scrivi_righe.h"

// The lines of the file, ended by the sentinel.
Righe dati_scheda();
