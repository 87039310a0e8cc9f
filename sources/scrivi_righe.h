// The one way every text file of the run is written: a writer returns its list of lines ended
// by the sentinel; one step turns the entries before the sentinel into Windows-1252 bytes, each
// line ended by CR LF, and recreates the file with them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/disco.h"

inline constexpr std::string_view kSentinella = "riferimento fine del file";

// A writer's list: 1001 entries, so at most 1000 lines before the sentinel. The lines are the
// writers' own literals, which live as long as the program.
inline constexpr size_t kCapacitaRighe = 1001;
using Righe = std::array<std::string_view, kCapacitaRighe>;

// A list holding `linee` from entry 0 on and the sentinel right after them.
Righe righe_con_sentinella(std::span<const std::string_view> linee);

// The number of entries before the sentinel. A list without the sentinel is the writer's
// fault: std::logic_error.
size_t righe_prima_della_sentinella(const Righe& righe);

// The bytes of the file: the entries before the sentinel in Windows-1252, each ended by CR LF.
std::string testo_delle_righe(const Righe& righe);

// Recreates the file at `percorso` with those bytes and returns the number of lines. Without
// the sentinel the file is not touched.
int32_t scrivi_righe(piattaforma::Disco& disco, const Righe& righe, const std::string& percorso);
