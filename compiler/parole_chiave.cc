#include "compiler/parole_chiave.h"

#include <algorithm>

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
