// What must hold after compiling any two sources, however malformed: the compile ends with
// its files written or with an error code, the sources are gone as the parser's rules say,
// and the binary files have the shape the simulator expects. Used by the fuzz target and by
// the test that replays its corpus.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/disco.h"

// One input split into the line source and the train source at the first two zero bytes;
// without them the whole input is the line source and there is no train source.
struct SorgentiDaIngresso {
  std::string_view linea;
  std::optional<std::string_view> treno;
};
SorgentiDaIngresso dividi_ingresso(std::string_view ingresso);

// The two sources as one input, the inverse of dividi_ingresso.
std::string unisci_sorgenti(std::string_view linea, std::string_view treno);

// Removes the files of an earlier compile from `cartella` of `disco`, writes the sources of
// `ingresso` into it, compiles them and checks the result. Returns an empty text when
// everything holds, else what did not.
std::string compila_e_verifica(std::string_view ingresso, piattaforma::Disco& disco,
                               const std::string& cartella);

// The same properties for the compile as a function of the two texts: it never throws, the
// sources it says the parse deletes are those the builder's parse deletes, the images have the
// files' shape, and every problem says where it was found.
std::string compila_e_verifica_in_memoria(std::string_view ingresso);

// What a compile of `ingresso` leaves, in one line: the error state, which sources are left,
// and a hash of each binary file written (or the failure that ended the run). Two compiles
// that give the same line wrote the same bytes.
std::string esito_compilazione(std::string_view ingresso, piattaforma::Disco& disco,
                               const std::string& cartella);
// The same line from the compile as a function of the two texts: what the builder's run would
// leave in its folder.
std::string esito_compilazione(std::string_view ingresso);
