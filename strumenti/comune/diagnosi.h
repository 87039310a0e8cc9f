// A problem found in an author's sources, as compila_scenario reports it: where it lies (the
// file as the author named it, the line, the column), how grave it is, its code and its words,
// and the source line it points into. Printed as compilers print one (a header line, the source
// line, a caret under the field) or as one line of JSON for an editor.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "platform/disco.h"

enum class Gravita { errore, avviso, nota };

// Places are the compile's own type, Luogo, with the file as the author named it: line 0 names
// the file as a whole; an empty file name, no file at all.

// A second place that the problem involves, with what it is.
struct Nota {
  Luogo posto;
  std::string messaggio;
  std::string riga_sorgente;  // the line's bytes, Windows-1252, without its end
};

struct Diagnosi {
  Gravita gravita = Gravita::errore;
  Luogo posto;
  // An error of the compile has its number; a warning has its kind's name (also when it is
  // reported as an error). Nothing for a problem of neither kind.
  std::variant<std::monostate, int32_t, std::string> codice;
  std::string messaggio;
  std::string riga_sorgente;  // the line's bytes, Windows-1252, without its end
  std::vector<Nota> note;
};

// A file that could not be read or written, as a problem of that file as a whole: its path,
// and what could not be done and why ("impossibile leggere: No such file or directory").
Diagnosi diagnosi_del_file(const piattaforma::ErroreFile& e);

// "file:riga:colonna: errore 15: messaggio", the source line and a caret under the field, then
// each note in the same form; every line ends with '\n'. A problem without a file takes
// `programma` in the file's place; one of line 0 has neither source line nor caret.
std::string testo_diagnosi(const Diagnosi& d, const std::string& programma);

// One JSON object on one line (no '\n'): file, line, column, severity, code, message, and
// "notes" (file, line, column, message) when there are some. The texts are UTF-8.
std::string json_diagnosi(const Diagnosi& d);
// The same object, for a caller that puts it into a larger document; `con_sorgente` adds
// "source", the source line in UTF-8 for a caret, to it and to each note.
nlohmann::ordered_json oggetto_diagnosi(const Diagnosi& d, bool con_sorgente = false);

// The line `riga` (from 1) of a source's bytes, without its end (CR LF, CR or LF, as the
// field reader takes them); empty when the source has fewer lines.
std::string riga_del_testo(const std::string& testo, int riga);
