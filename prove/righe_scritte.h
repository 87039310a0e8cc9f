// Test support: a text file as the emission step makes it from a writer's lines, read back as
// lines and fields, so that content checks look at the bytes of the file and not at the data
// that produced them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sources/scrivi_righe.h"

// The lines of `byte`, each of which must end in CR LF; a lone CR or LF, or bytes after the
// last CR LF, throw std::invalid_argument.
std::vector<std::string> righe_scritte(std::string_view byte);

struct FileScritto {
  int32_t righe_dichiarate = 0;  // the entries before the sentinel
  std::string byte;
  std::vector<std::string> righe;
};

using Scrittore = Righe (*)();

// The bytes that `scrittore`'s file holds, and its lines.
FileScritto testo_del_lavoro(Scrittore scrittore);

// Whether `riga` is one of `righe`, exactly.
bool contiene(const std::vector<std::string>& righe, std::string_view riga);

// The section headers, the lines that begin with "[", with their indices.
std::vector<std::pair<size_t, std::string>> intestazioni(const std::vector<std::string>& righe);

// Checks the positions of one row kind: from `primo` to `ultimo`, multiples of 50, strictly
// rising, between 0 and `massimo`.
void posizioni_in_ordine(const std::vector<int32_t>& posizioni, int32_t primo, int32_t ultimo,
                         std::string_view cosa, int32_t massimo = INT32_MAX);

// The fields of a row between its commas, spaces kept.
std::vector<std::string_view> campi(std::string_view riga);

// The number a field holds: spaces around an optional minus and decimal digits; nullopt for
// anything else (an empty field included).
std::optional<int32_t> intero(std::string_view campo);
