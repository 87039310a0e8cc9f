// The plan of the line: for each metre of chainage a point (x, y), each coordinate a tagged
// number (empty, a 16-bit integer or a 64-bit real). Stored compactly, first index fastest:
// all x values from metre 0 upward, then all y values, as the plan file lists them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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
  int16_t intero(int32_t punto, int colonna) const {
    return static_cast<int16_t>(valori_[posto(punto, colonna)]);
  }

  // The tags and the values of all coordinates in storage order, which is the order of the
  // plan file.
  std::span<const Etichetta> etichette() const { return etichette_; }
  std::span<const double> valori() const { return valori_; }

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
  // Index into the storage; a point outside the plan is a programming error. Defined here so
  // that it is inlined: the plan is built and written one coordinate at a time, two million
  // times for the longest line.
  size_t posto(int32_t punto, int colonna) const {
    if (!contiene(punto) || colonna < 0 || colonna > 1) {
      fuori_dal_tracciato(punto);
    }
    return static_cast<size_t>(colonna) * (static_cast<size_t>(ultimo_punto_) + 1) +
           static_cast<size_t>(punto);
  }
  [[noreturn]] static void fuori_dal_tracciato(int32_t punto);

  int32_t ultimo_punto_ = -1;
  std::vector<Etichetta> etichette_;
  std::vector<double> valori_;
};
