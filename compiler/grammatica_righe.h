// The grammar of the source rows, once: for each kind of row, the section that takes it, the
// words its keyword is recognised by, the keyword the example sources write, and its fields
// with their names, the width the parse reads them in and the range an author may give. The
// parse of both sources dispatches on it; the language server's completion, signature help,
// outline, hover and formatting read it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class Sezione { prima_di_generale, linea_generale, linea_principale, treno };

// Every kind of row, in the parse's order within its section.
enum class CodiceForma {
  lunghezza_percorso,
  progressiva_tre,
  progressiva_due,
  progressiva_uno,
  sfondo_uno,
  sfondo_due,
  sfondo_tre,
  ripetizione_segnali,
  pendenza,
  curva_sinistra,
  curva_destra,
  montagna,
  indicatori_v_max,
  cartello_indicatore,
  massa_frenata,
  vetture,
  velocita,
  aderenza,
  orologio,
  sabbia,
  segnale,
  rallentamento,
  abbattimento,
  stazione,
};

// What a row is in a source's outline, if anything.
enum class Simbolo { nessuno, stazione, segnale, rallentamento, galleria };

// How the field reader reads a field: a signed 32-bit, signed 16-bit or unsigned 8-bit
// integer, or a text up to the comma.
enum class LarghezzaCampo { bit_32, bit_16, bit_8, testo };

struct CampoRiga {
  std::string_view nome;
  std::string_view unita;  // empty for a plain number or a text
  LarghezzaCampo larghezza = LarghezzaCampo::bit_32;
  // The values an author may write; narrower than the width where the row says so.
  int64_t minimo = 0;
  int64_t massimo = 0;
  // A chainage along the track (where a row stands, begins or ends), not a length or a value.
  bool progressiva = false;
};

struct FormaRiga {
  CodiceForma codice = CodiceForma::pendenza;
  Sezione sezione = Sezione::linea_principale;
  std::string_view parola;  // as the example sources write it
  std::string_view descrizione;
  // The row is of this kind when its keyword contains both words (the second may be empty)
  // and not `senza` (none when empty); `esatte` when letter case counts.
  std::string_view prima;
  std::string_view seconda;
  std::string_view senza;
  bool esatte = false;
  bool solo_con_tracciato = false;  // a curve is a row only when a plan is built
  Simbolo simbolo = Simbolo::nessuno;
  std::span<const CampoRiga> campi;
};

// Every kind, grouped by section, each section in the parse's order.
std::span<const FormaRiga> forme_righe();
// The kinds of section `s`, in the parse's order.
std::span<const FormaRiga> forme_della_sezione(Sezione s);

// Whether a keyword (Windows-1252 bytes) is of kind `f`. Several kinds may take one keyword;
// the parse runs each of them in order.
bool prende(const FormaRiga& f, std::string_view parola_chiave, bool con_tracciato);

// The first kind of section `s` that takes the keyword; none when no kind does.
const FormaRiga* forma_della_riga(Sezione s, std::string_view parola_chiave, bool con_tracciato);

// A keyword field that opens the general section of either source.
bool apre_generale(std::string_view parola_chiave);
// A section header such as "[curve]": a field holding "[" and "]" that is not a comment.
bool intestazione_di_sezione(std::string_view parola_chiave);
// A keyword field that is a comment: one holding "-".
bool commento(std::string_view parola_chiave);
