// The one way every text file of the run is written: a writer fills a list of lines, ends it
// with the sentinel, and hands it over; the file is recreated and holds the lines before the
// sentinel, each ended by CR LF, as Windows-1252 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view kSentinella = "riferimento fine del file";

// A writer's list: 1001 entries, so at most 1000 lines before the sentinel.
inline constexpr size_t kCapacitaRighe = 1001;
using Righe = std::array<std::string, kCapacitaRighe>;

// A list holding `linee` from entry 0 on and the sentinel right after them.
Righe righe_con_sentinella(std::span<const std::string_view> linee);

// Recreates the file at `percorso` with the entries before the sentinel and returns their
// number. A list without the sentinel is the writer's fault: std::logic_error, and the file
// is not touched.
int32_t scrivi_righe(const Righe& righe, const std::string& percorso);
