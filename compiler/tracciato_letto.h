// A plan as a plan file holds it, read back: for each point (x, y), each coordinate a tagged
// number of any kind, in any order the file gives. The compile builds its plan in a fixed
// order straight into the file's image; a file read back may hold any mix of tags, so the
// reader keeps every coordinate apart, x column first, as the file lists them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/tracciato.h"

class TracciatoLetto {
 public:
  // Points 0 to `ultimo_punto`, all empty. Replaces any earlier plan.
  void crea(int32_t ultimo_punto) {
    if (ultimo_punto < 0) {
      throw std::invalid_argument("tracciato con limite negativo");
    }
    ultimo_punto_ = ultimo_punto;
    const size_t n = 2 * (static_cast<size_t>(ultimo_punto) + 1);
    etichette_.assign(n, Etichetta::vuoto);
    valori_.assign(n, 0.0);
  }
  bool esiste() const { return ultimo_punto_ >= 0; }
  int32_t ultimo_punto() const { return ultimo_punto_; }
  bool contiene(int64_t punto) const { return punto >= 0 && punto <= ultimo_punto_; }

  Etichetta etichetta(int32_t punto, int colonna) const {
    return etichette_[posto(punto, colonna)];
  }
  // The numeric value of a coordinate; an empty one reads 0.
  double valore(int32_t punto, int colonna) const { return valori_[posto(punto, colonna)]; }
  int16_t intero(int32_t punto, int colonna) const {
    return static_cast<int16_t>(valori_[posto(punto, colonna)]);
  }

  // Tags and values of all coordinates in the order of the file.
  const std::vector<Etichetta>& etichette() const { return etichette_; }
  const std::vector<double>& valori() const { return valori_; }

  void imposta_intero(int32_t punto, int colonna, int16_t v) {
    const size_t i = posto(punto, colonna);
    etichette_[i] = Etichetta::intero_16;
    valori_[i] = v;
  }
  void imposta_reale(int32_t punto, int colonna, double v) {
    const size_t i = posto(punto, colonna);
    etichette_[i] = Etichetta::reale_64;
    valori_[i] = v;
  }

 private:
  // Index into the storage; a point or column outside the plan is a programming error.
  size_t posto(int32_t punto, int colonna) const {
    if (!contiene(punto) || colonna < 0 || colonna > 1) {
      throw std::out_of_range("punto " + std::to_string(punto) + " fuori dal tracciato");
    }
    return static_cast<size_t>(colonna) * (static_cast<size_t>(ultimo_punto_) + 1) +
           static_cast<size_t>(punto);
  }

  int32_t ultimo_punto_ = -1;
  std::vector<Etichetta> etichette_;
  std::vector<double> valori_;
};
