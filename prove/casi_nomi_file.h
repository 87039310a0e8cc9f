// The identities that the naming rule must give back from their own file names, for every
// program that pairs sources by name: the scenario name and the train number may hold "_",
// digits and accented letters, and a train number may look like part of a name or like a
// file's ending.
#pragma once

#include "model/identita.h"

struct CasoNomiFile {
  Identita identita;
  // Whether the file names alone give it back (split at the last "_"), or only with the
  // scenario name known, as it is once the line source is.
  bool senza_nome_noto;
};

inline const CasoNomiFile kCasiNomiFile[] = {
    {{"Tavena_Crostia", "4417"}, true},
    {{"Linea", "12"}, true},
    {{"Alta_Valle_2", "4417"}, true},          // digits in the name, before the number
    {{"Citt\u00e0_S\u00f9", "7"}, true},       // accented letters, as UTF-8 bytes
    {{"Citt\xe0", "7"}, true},                 // and as Windows-1252 bytes
    {{"Linea", "12_A"}, false},                // a number that holds "_"
    {{"Tavena_Crostia", "4417_note"}, false},  // a number that looks like a file's ending
    {{"Tavena", "Crostia_4417"}, false},       // a number that looks like part of a name
};
