// The scenario's identity codes and the stamps that carry them into the binary files.
// Both codes are checksums of the first 25 bytes of the code text: the train number and the
// scenario name (entries 86 and 85) in lower case, then a fixed suffix that makes the text
// at least 26 bytes long.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/scenario.h"

// Windows-1252 lower case: A-Z, the capitals 0xC0 to 0xDE but 0xD7 (the multiplication
// sign), and the four capitals that the code page keeps at 0x8A, 0x8C, 0x8E and 0x9F.
// Every other byte stays.
std::string minuscolo_1252(std::string_view testo);

// The code text: train number and scenario name in lower case, then the fixed suffix.
std::string testo_del_codice(const Scenario& s);

// Sum of the values of the first 25 bytes of the code text.
int16_t codice_gara_og(const Scenario& s);
// Sum of i times the value of the i-th byte of the code text, i from 1 to 25.
int32_t codice_gara_st(const Scenario& s);

// Puts the marks 610 and 5121 and the two codes into entry 85 and cell 1. A target field that
// is not 0 ends the run through `errore` (1250 for the marks, 1251 for the codes) before
// anything is written over it. A track without a cell 1 is a failure of its own
// (std::runtime_error).
void applica_timbri(Scenario& s);
