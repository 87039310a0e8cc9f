// What the language server knows of one source, as plain values: its outline, the rows that
// may be written at a line, the fields of the row under a place, what a row becomes in the
// compiled files, and the source aligned in columns. Places are in the compile's bytes (line
// and byte column from 0); texts for a person are UTF-8. No protocol here: the server turns
// these values into its messages.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compila.h"
#include "compiler/grammatica_righe.h"
#include "strumenti/lingua_scenario/descrizione_riga.h"
#include "strumenti/lingua_scenario/righe_sorgente.h"
#include "strumenti/lingua_scenario/testo_editor.h"

// A place in a source: line and byte column, both from 0.
struct PuntoByte {
  int riga = 0;
  int colonna = 0;
  bool operator==(const PuntoByte&) const = default;
};

// The bytes from `inizio` up to `fine`, which is not in it.
struct TrattoByte {
  PuntoByte inizio;
  PuntoByte fine;
  bool operator==(const TrattoByte&) const = default;
};

// A source's lines as the compile's bytes, each read as an author reads it.
class SorgenteLetta {
 public:
  SorgenteLetta(const TestoEditor& testo, GenereSorgente genere);

  const TestoEditor& testo() const { return testo_; }
  int righe() const { return static_cast<int>(lette_.size()); }
  std::string_view riga(int r) const { return righe_[static_cast<size_t>(r)]; }
  const RigaDelSorgente& letta(int r) const { return lette_[static_cast<size_t>(r)]; }

 private:
  const TestoEditor& testo_;
  std::vector<std::string_view> righe_;
  std::vector<RigaDelSorgente> lette_;
};

enum class GenereSimbolo { sezione, stazione, altro };

// An entry of the outline: a section header holds the rows after it up to the next header.
struct SimboloSorgente {
  std::string nome;
  GenereSimbolo genere = GenereSimbolo::altro;
  TrattoByte tratto;     // whole lines: a header's runs to the end of its last row
  TrattoByte selezione;  // the line that names it
  std::vector<SimboloSorgente> figli;
};

std::vector<SimboloSorgente> simboli(const SorgenteLetta& s);

// A row that may be written: its keyword, what it is, its fields' names; `con_classe` when a
// digit from 1 to 6 follows the keyword.
struct VoceCompletamento {
  std::string parola;
  std::string descrizione;
  bool con_classe = false;
  std::vector<std::string> campi;
};

// The rows of the section of line `riga`; none for a line the source does not have.
std::optional<std::vector<VoceCompletamento>> completamento(const SorgenteLetta& s, int riga);

struct ParametroFirma {
  std::string nome;
  std::string documentazione;  // "posizione (m): da 0 a 2147483647 m"
};

struct FirmaRiga {
  std::string etichetta;  // "segnale, posizione, sx, ..."
  std::string documentazione;
  std::vector<ParametroFirma> parametri;
  int attivo = 0;  // the value under the place, from 0
};

// The fields of the row at `p`; none on a line of no row kind.
std::optional<FirmaRiga> firma(const SorgenteLetta& s, PuntoByte p);

// What the row of line `riga` becomes in the files of compile `c`; none on a line of no row.
std::optional<DescrizioneRiga> descrizione(const SorgenteLetta& s, int riga, const Compilazione& c);

// A change of the text: the bytes of `tratto` replaced by `testo` (UTF-8).
struct ModificaTesto {
  TrattoByte tratto;
  std::string testo;
};

// The source with its values aligned in columns, as one change of the whole text; none when
// it is aligned already or holds a character its bytes cannot keep.
std::vector<ModificaTesto> formattazione(const TestoEditor& t);

// The field that begins at column `colonna` (from 1) of line `riga` (from 1) of `t`: to the
// next comma, space or line end, or the one byte there when the field is empty.
TrattoByte tratto_del_campo(const TestoEditor& t, int riga, int colonna);

// The accepted range as words: "da 0 a 1000000 m".
std::string testo_intervallo(const CampoRiga& c);
