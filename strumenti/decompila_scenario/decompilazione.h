// The way back from the three binary files of a scenario to two source texts that compile to
// the same bytes. The files are read and checked by the inspector; the rows are found from what
// each kind of row leaves (the curves from the plan's points, the general rows and the stations
// from their entries, the layers, tunnels, boards, signs, slow-downs and signals from the
// cells); the speed points that the compile adds by itself are left to it. The texts are then
// compiled and compared with the files, byte for byte: they are given back only when they give
// the same three files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/identita.h"
#include "strumenti/ispezione/ispezione.h"

struct SorgentiDecompilate {
  std::string linea;  // Windows-1252, lines ended by CR LF
  std::string treno;
};

struct Decompilazione {
  // Present only when the two texts compile to the very bytes of the three files.
  std::optional<SorgentiDecompilate> sorgenti;
  // Otherwise why not, each fault with its file, byte and record: the inspector's faults, a
  // record that no row makes, or the first byte where the compile of the texts differs.
  std::vector<Difetto> difetti;
  int compilazioni = 0;  // compiles run to find and prove the texts
};

// `identita` as the tools take it (UTF-8); the images in the order of FileBinario.
Decompilazione decompila(const Identita& identita, std::string_view tracciato,
                         std::string_view voci, std::string_view percorso);
