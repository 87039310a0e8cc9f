// The plan of the line: for each metre of chainage a point (x, y), each coordinate a tagged
// number (empty, a 16-bit integer or a 64-bit real). Stored compactly, first index fastest:
// all x values from metre 0 upward, then all y values, as the plan file lists them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Tags of a tagged number, with the values the plan file writes for them.
enum class Etichetta : uint8_t { vuoto = 0, intero_16 = 2, reale_64 = 5 };

class Tracciato {
 public:
  // Points 0 to `ultimo_punto`, all empty. Replaces any earlier plan.
  void crea(int32_t ultimo_punto);
  bool esiste() const { return ultimo_punto_ >= 0; }
  int32_t ultimo_punto() const { return ultimo_punto_; }
  bool contiene(int64_t punto) const { return punto >= 0 && punto <= ultimo_punto_; }

  Etichetta etichetta(int32_t punto, int colonna) const {
    return etichette_[posto(punto, colonna)];
  }
  // The numeric value of a coordinate; an empty one reads 0.
  double valore(int32_t punto, int colonna) const { return valori_[posto(punto, colonna)]; }
  int16_t intero(int32_t punto, int colonna) const;

  void imposta_intero(int32_t punto, int colonna, int16_t v);
  void imposta_reale(int32_t punto, int colonna, double v);

 private:
  // Index into the storage; a point outside the plan is a programming error.
  size_t posto(int32_t punto, int colonna) const;

  int32_t ultimo_punto_ = -1;
  std::vector<Etichetta> etichette_;
  std::vector<double> valori_;
};
