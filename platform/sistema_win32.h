// What the Windows parts of the platform layer share: the system's own text for an error.
#pragma once

#include <windows.h>

#include <string>

namespace piattaforma {

// The system's description of error `codice`, without the trailing full stop and line end.
std::string descrizione_errore(DWORD codice);

}  // namespace piattaforma
