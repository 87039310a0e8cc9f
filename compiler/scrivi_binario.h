// The three binary scenario files: the plan of the line, the 87 entries and the track cells,
// each the plain image of its array (no header, no count), little-endian, with no padding.
// Each image is whole in memory and written in one write (the plan is held as its image
// already, the other two are built from the model); the three files are replaced as one set.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/scenario.h"
#include "model/tracciato.h"
#include "platform/sostituzione.h"

// All x values from metre 0 up, then all y values; each a 16-bit tag and its value. The bytes
// the plan holds, valid while it is not changed.
std::string_view immagine_tracciato(Tracciato& t);
// 87 records of 34 bytes plus the bytes of their texts. A text longer than 65535 bytes
// throws std::length_error.
std::string immagine_voci(const std::array<Voce, kNumeroVoci>& voci);
// One 15-byte record per cell.
std::string immagine_percorso(const std::vector<Cella>& percorso);

// Writes the image of the array as the next file of `insieme`, under a temporary name beside
// `percorso`; the file takes its final name when the set is completed. File-system failures
// throw piattaforma::ErroreFile.
void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso, Tracciato& t);
void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::array<Voce, kNumeroVoci>& voci);
void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::vector<Cella>& percorso_celle);
