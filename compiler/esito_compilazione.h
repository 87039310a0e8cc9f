// What a compile tells its caller besides the model: the code and the position of the error
// state, and where in the sources the problem was found, as data a message or a tool can
// point with.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A place in a source: the file's name (without its folder) and the line and column, from 1,
// where a field begins. Line 0 names the file as a whole (one that is missing, or that cannot
// be read).
struct Luogo {
  std::string file;
  int riga = 0;
  int colonna = 0;

  bool operator==(const Luogo&) const = default;
};

// "Prova_linea.txt:3:12", or the file's name alone for line 0.
std::string testo_del_luogo(const Luogo& l);
std::ostream& operator<<(std::ostream& o, const Luogo& l);

// A problem as the parse or the pass records it: its code, where it was found, for a
// run-time failure why the source could not be read, and the earlier row it involves (the
// row whose item took the cell, the previous station), when there is one.
struct Problema {
  int32_t codice = 0;
  Luogo luogo;
  std::string motivo;
  std::optional<Luogo> nota;

  bool operator==(const Problema&) const = default;
};

// What the source format takes without a word but an author almost never means.
enum class TipoAvviso {
  riga_sconosciuta,        // a keyword that no row kind takes
  prima_di_generale,       // a row before "[generale]", which the parse skips
  valori_in_piu,           // a value past the row's own, read as the next keyword
  valori_dalla_riga_dopo,  // a row short of values, which takes them from the lines after it
  curva_ignorata,          // a curve row of a compile that builds no plan
  fuori_ordine,            // a row of an ordered kind before the one above it
  sezione_ripetuta,        // a section header given twice in one source
  testo_tagliato,          // a station or sign text that a comma ends early
};

// The kind's short name, as a message shows it: "riga-sconosciuta".
std::string_view nome_avviso(TipoAvviso t);

// Something in the sources that is not an error but deserves a look, and the other place it
// involves (the row above, the first header), when there is one.
struct Avviso {
  TipoAvviso tipo = TipoAvviso::riga_sconosciuta;
  Luogo luogo;
  std::string testo;
  std::optional<Luogo> nota;
  std::string testo_nota;

  bool operator==(const Avviso&) const = default;
};

// The result of one compile. `codice` and `posizione` are the error state the model ends
// with; the rest says where the last problem recorded was found (empty with code 0).
struct EsitoCompilazione {
  int32_t codice = 0;
  int32_t posizione = 0;  // metres
  Luogo luogo;
  std::string motivo;
  std::optional<Luogo> nota;
  // False when the parse left no track and so no binary file was written.
  bool file_scritti = false;
  // The warnings, in the order the parse found them. They never change the files.
  std::vector<Avviso> avvisi;
};

// The problem in one line: "codice_errore 16, posizione_errore 4500 m: <meaning>", then
// ": <reason>" for a run-time failure, "; vedi <note>" for an earlier row, and last the place
// in brackets.
std::string descrizione_problema(const EsitoCompilazione& e);
