#include "model/tracciato.h"

#include <stdexcept>
#include <string>

void Tracciato::crea(int32_t ultimo_punto) {
  if (ultimo_punto < 0) {
    throw std::invalid_argument("tracciato con limite negativo");
  }
  ultimo_punto_ = ultimo_punto;
  const size_t n = 2 * (static_cast<size_t>(ultimo_punto) + 1);
  etichette_.assign(n, Etichetta::vuoto);
  valori_.assign(n, 0.0);
}

void Tracciato::fuori_dal_tracciato(int32_t punto) {
  throw std::out_of_range("punto " + std::to_string(punto) + " fuori dal tracciato");
}
