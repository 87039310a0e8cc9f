// Two source texts compiled by the builder's own compile, under the names
// an identity gives, with the bytes of the three binary files it wrote.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/identita.h"
#include "strumenti/ispezione/ispezione.h"

struct ImmaginiCompilate {
  int32_t codice = 0;    // the compile's error code, 0 = none
  bool scritti = false;  // false: no file was written (no track, or a stamp conflict)
  std::array<std::string, kNumeroFileBinari> immagini;  // in the order of FileBinario
};

// `identita` in UTF-8 with letters that Windows-1252 has, as the tools take it.
ImmaginiCompilate compila_in_memoria(const Identita& identita, std::string_view linea,
                                     std::string_view treno);
