// What each kind of source row is: the section that takes it, the keyword the example sources
// write and the words the parse recognises it by, and its fields with their names, units and
// accepted ranges. One table, read by completion, signature help, the outline and the hover.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class Sezione { prima_di_generale, linea_generale, linea_principale, treno };

// What a row is in a source's outline, if anything.
enum class Simbolo { nessuno, stazione, segnale, rallentamento, galleria };

struct CampoRiga {
  std::string_view nome;
  std::string_view unita;  // empty for a plain number or a text
  int64_t minimo = 0;
  int64_t massimo = 0;
  bool testo = false;
};

struct TipoRiga {
  Sezione sezione = Sezione::linea_principale;
  std::string_view parola;  // as the example sources write it
  std::string_view descrizione;
  // The parse takes the row when its keyword contains both words (the second may be empty)
  // and not `senza`; `esatte` when letter case counts.
  std::string_view prima;
  std::string_view seconda;
  std::string_view senza;
  bool esatte = false;
  bool solo_con_tracciato = false;
  Simbolo simbolo = Simbolo::nessuno;
  std::span<const CampoRiga> campi;
};

std::span<const TipoRiga> tipi_righe();

// The kinds a keyword (Windows-1252 bytes) of section `s` is taken as, in the parse's order.
std::vector<const TipoRiga*> tipi_della_riga(Sezione s, std::string_view parola_chiave,
                                             bool con_tracciato);

// The accepted range as words: "da 0 a 1000000 m".
std::string testo_intervallo(const CampoRiga& c);
