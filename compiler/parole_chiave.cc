#include "compiler/parole_chiave.h"

#include <algorithm>
#include <stdexcept>

#include "compiler/stato_lettura.h"

namespace {

char minuscola(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool contiene(std::string_view riga, std::string_view parola) {
  const auto trovata = std::search(riga.begin(), riga.end(), parola.begin(), parola.end(),
                                   [](char a, char b) { return minuscola(a) == minuscola(b); });
  return parola.empty() || trovata != riga.end();
}

Esito gestisci_riga(StatoLettura& l, Sezione s, std::span<const GestoreForma> gestori) {
  for (const FormaRiga& f : forme_della_sezione(s)) {
    if (!prende(f, l.parola_chiave, l.s.con_tracciato != 0)) {
      continue;
    }
    const auto g = std::find_if(gestori.begin(), gestori.end(),
                                [&f](const GestoreForma& x) { return x.codice == f.codice; });
    if (g == gestori.end()) {
      throw std::logic_error("un tipo di riga senza gestore: " + std::string(f.parola));
    }
    l.riga_riconosciuta = true;
    if (const Esito e = g->gestisci(l); e != Esito::prosegui) {
      return e;
    }
  }
  return Esito::prosegui;
}
