// The proof of the decompiler: the two texts found are compiled by the compile itself and
// compared with the files that were read, byte for byte. The train source's points are mended
// between compiles: a point that the compile's pass places by itself is left to it, so each
// compile shows which of the file's points the texts must write. With the two small steps
// that every caller of the compile here shares: the options for an identity, and the images in
// the order of the files.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compila.h"
#include "model/identita.h"
#include "strumenti/decompila_scenario/decompilazione.h"
#include "strumenti/decompila_scenario/treno_decompilato.h"
#include "strumenti/ispezione/ispezione.h"

// Compiles `linea` with the train source of `treno` until the three images are `attesi` (in
// the order of FileBinario), mending the train's points from what each compile placed; gives
// the texts back only then, else the first difference of the last compile. `celle` are the
// cells that were read, cell 1's stamps set back to 0.
Decompilazione prova_di_compilazione(const Identita& identita,
                                     const std::array<std::string_view, kNumeroFileBinari>& attesi,
                                     const std::string& linea, const TrenoDecompilato& treno,
                                     const std::vector<Cella>& celle);

// The compile's options for `identita` as the tools take it: UTF-8, with letters that
// Windows-1252 has.
OpzioniCompilazione opzioni_di_compilazione(const Identita& identita);

// The images of a compile in the order of FileBinario, all empty when it wrote none: views
// into `c`, valid while it lives.
std::array<std::string_view, kNumeroFileBinari> immagini_in_ordine(const Compilazione& c);

// Where two images of one kind of file first differ, in the inspector's words; nullopt when
// they are the same. `riferimento` is the file that was read, `ottenuto` the one compiled.
std::optional<Difetto> prima_differenza(FileBinario file, std::string_view riferimento,
                                        std::string_view ottenuto);
