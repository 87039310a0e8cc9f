// The scenario's identity codes and the stamps that carry them into the binary files.
// Both codes are checksums of the first 25 bytes of the code text: the train number and the
// scenario name (entries 86 and 85) in lower case, then a fixed suffix that makes the text
// at least 26 bytes long.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/scenario.h"

// The two marks the stamps put into entry 85 (`dato_1`) and cell 1 (`valore_1`).
inline constexpr int16_t kMarcaVoce = 610;
inline constexpr int16_t kMarcaCella = 5121;
// The numbers of the two stamp conflicts: a mark's field, or a code's field, already taken.
inline constexpr int32_t kConflittoMarche = 1250;
inline constexpr int32_t kConflittoCodici = 1251;

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

// Puts the marks 610 and 5121 and the two codes into entry 85 and cell 1, unless a target
// field is not 0: then it stops before anything is written over that field and returns the
// conflict's number (1250 for the marks, 1251 for the codes). The track must have a cell 1.
std::optional<int32_t> timbra(Scenario& s);

// Puts the marks 610 and 5121 and the two codes into entry 85 and cell 1. A target field that
// is not 0 ends the run through `errore` (1250 for the marks, 1251 for the codes) before
// anything is written over it. A track without a cell 1 is a failure of its own
// (std::runtime_error).
void applica_timbri(Scenario& s);
// The words of that failure.
std::string testo_senza_cella_1(const Scenario& s);
