// The handshake of the Windows test programs with the script that drives them: the program
// says it is ready by a file "pronto" in its folder, and the script says the check is over by a
// file "fatto" there.
#pragma once

#include <chrono>
#include <string>

#include "platform/disco.h"

// Creates "pronto" in `cartella`, then waits for "fatto" there, looking every 100 ms. True once
// it is there; false when `attesa_massima` has passed without it.
bool segnala_pronto_e_attendi_fatto(piattaforma::Disco& disco, const std::string& cartella,
                                    std::chrono::milliseconds attesa_massima);
