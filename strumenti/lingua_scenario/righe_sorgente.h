// A source seen line by line, as an author reads it: which section each line lies in, its
// keyword and where each of its values stands. The parse reads field by field and may fall
// out of step on a malformed row; this reading follows the lines, which is what completion,
// the outline and the hover point at.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/grammatica_righe.h"

enum class GenereSorgente { linea, treno };

// A value's bytes on its line: [inizio, fine), from 0.
struct ValoreLetto {
  int inizio = 0;
  int fine = 0;
};

struct RigaDelSorgente {
  Sezione sezione = Sezione::prima_di_generale;  // the section the line's row belongs to
  std::string parola;                            // the keyword, spaces before it left out
  int inizio_parola = 0;
  bool intestazione = false;  // a section header such as "[curve]"
  bool commento = false;      // a keyword field holding "-"
  std::vector<ValoreLetto> valori;
};

// One reading per line of `righe` (Windows-1252 bytes, without their ends).
std::vector<RigaDelSorgente> leggi_righe(const std::vector<std::string_view>& righe, GenereSorgente g);

// The field under byte `colonna` (from 0) of a line: 0 the keyword, k the k-th value.
int campo_alla_colonna(std::string_view riga, const RigaDelSorgente& letta, int colonna);

// The number a value holds (an empty value is 0); none for a value not written as an integer.
std::optional<int64_t> numero_del_valore(std::string_view riga, const ValoreLetto& v);
