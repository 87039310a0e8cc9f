// Reads the three binary files of one scenario back and checks them against the rules that
// the builder keeps: the layout of each file (through the readers of the files), 87 records,
// a track of as many cells and a plan of as many points as the line's length asks for, the
// tags of the plan where the plan's construction puts them, the kinds of item a cell can
// hold, and the two marks and two codes that the identity gives. Every fault found names its
// file, its byte offset and the record, cell or point it lies in.
//
// Files of a compile that ended with a data error may break these rules where that error
// left its work half done (a second length row that is rejected, a sign entry beyond the
// table); the files of a compile without a data error never do.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "compiler/tracciato_letto.h"
#include "model/scenario.h"
#include "platform/disco.h"
#include "model/identita.h"

// The three binary files in the order the compile writes them.
enum FileBinario { kFileTracciato = 0, kFileVoci = 1, kFilePercorso = 2 };
inline constexpr int kNumeroFileBinari = 3;

std::array<std::string, kNumeroFileBinari> nomi_binari(const Identita& id);

// The identities whose three files are all among `nomi` (the names of a folder's files).
std::vector<Identita> scenari_completi(const std::vector<std::string>& nomi);

// The scenario of `cartella` of `disco`: the one named by `scenario` and `treno`, when they are
// given (both or neither), else the one scenario whose three files are all there; when there
// is none, or more than one, the reason, for a message about the arguments. A folder that
// cannot be listed throws piattaforma::ErroreFile.
std::variant<Identita, std::string> scenario_della_cartella(
    piattaforma::Disco& disco, const std::string& cartella,
    const std::optional<std::string>& scenario, const std::optional<std::string>& treno);

struct Difetto {
  FileBinario file = kFileVoci;
  int64_t byte = 0;
  std::string dove;  // "voce 85, orario", "cella 1, valore_2", "punti 12-40": empty for the
                     // file as a whole
  std::string descrizione;

  bool operator==(const Difetto&) const = default;
};

struct Ispezione {
  Identita identita;
  std::array<int64_t, kNumeroFileBinari> dimensioni{};  // bytes of each file
  TracciatoLetto tracciato;
  std::array<Voce, kNumeroVoci> voci{};
  std::array<int64_t, kNumeroVoci> inizio_voce{};  // offset of each record, -1 where cut off
  std::vector<Cella> percorso;
  std::vector<Difetto> difetti;
};

// Reads and checks the bytes of the three files, in the order of FileBinario.
Ispezione ispeziona_byte(const Identita& id, std::string_view tracciato, std::string_view voci,
                         std::string_view percorso);

// What an inspection of a plan file leaves for the next one. A caller that inspects one compile
// after another (the watch mode) keeps it: most edits leave the plan's bytes as they were, and
// reading and checking a long line's plan again is the dearest part of an inspection.
struct MemoriaTracciato {
  bool piena = false;  // whether the fields below hold an inspection
  std::string byte;    // the plan file as it was inspected
  TracciatoLetto tracciato;
  std::vector<Difetto> difetti_lettura;  // the reader's, as they stand among the faults
  // The checks of the points depend on the line's length (entry 84) as well as on the bytes.
  int64_t lunghezza_estesa = -1;
  std::vector<Difetto> difetti_controllo;
  bool ripresa = false;  // whether the last inspection took the plan from here
};

// The same inspection as ispeziona_byte's, with the plan's reading taken from `memoria` when
// `tracciato` holds the bytes it was made of, and its checks too when the line's length is also
// the same; `memoria` is left holding the plan of this inspection.
Ispezione ispeziona_byte(const Identita& id, std::string_view tracciato, std::string_view voci,
                         std::string_view percorso, MemoriaTracciato& memoria);

// Reads the three files of `id` from `cartella`. A file that is missing or cannot be read
// throws piattaforma::ErroreFile.
Ispezione ispeziona(piattaforma::Disco& disco, const std::string& cartella, const Identita& id);

// The faults as the tools print them, one line each: the file's path in `cartella`, the byte,
// the record when there is one, and the words ("c/A_1.sim: byte 40: voce 1, testo: ...").
std::string testo_difetti(const piattaforma::Disco& disco, const std::string& cartella,
                          const Identita& id, const std::vector<Difetto>& difetti);
