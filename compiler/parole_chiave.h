// Row kinds are recognised by words contained anywhere in the keyword field, never by
// equality. Most tests ignore letter case; a few in the line source's general section do not.
// The words of each kind are in the row grammar; here is how the parse runs the kinds a
// keyword takes.
#pragma once

#include <span>
#include <string_view>

#include "compiler/grammatica_righe.h"

struct StatoLettura;
enum class Esito;

// `riga` contains `parola`, ignoring the case of ASCII letters.
bool contiene(std::string_view riga, std::string_view parola);

// `riga` contains `parola` exactly as written.
inline bool contiene_esatto(std::string_view riga, std::string_view parola) {
  return riga.find(parola) != std::string_view::npos;
}

// What the parse does with a row of one kind.
struct GestoreForma {
  CodiceForma codice;
  Esito (*gestisci)(StatoLettura&);
};

// Every kind of section `s` that takes the row's keyword runs its handler, in the grammar's
// order, until one returns anything but `prosegui`; the row then counts as recognised.
Esito gestisci_riga(StatoLettura& l, Sezione s, std::span<const GestoreForma> gestori);
