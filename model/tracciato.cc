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

int16_t Tracciato::intero(int32_t punto, int colonna) const {
  return static_cast<int16_t>(valori_[posto(punto, colonna)]);
}

void Tracciato::imposta_intero(int32_t punto, int colonna, int16_t v) {
  const size_t i = posto(punto, colonna);
  etichette_[i] = Etichetta::intero_16;
  valori_[i] = v;
}

void Tracciato::imposta_reale(int32_t punto, int colonna, double v) {
  const size_t i = posto(punto, colonna);
  etichette_[i] = Etichetta::reale_64;
  valori_[i] = v;
}

size_t Tracciato::posto(int32_t punto, int colonna) const {
  if (!contiene(punto) || colonna < 0 || colonna > 1) {
    throw std::out_of_range("punto " + std::to_string(punto) + " fuori dal tracciato");
  }
  return static_cast<size_t>(colonna) * (static_cast<size_t>(ultimo_punto_) + 1) +
         static_cast<size_t>(punto);
}
