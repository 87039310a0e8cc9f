// The plan of the line, held as the plan file holds it: the x of every point from metre 0
// upward, then the y of every point, each a tagged number (a 16-bit tag, then nothing for an
// empty one, a 16-bit integer or a 64-bit real), little-endian, with nothing in between. The
// plan exists only in this form, once: the file is written straight from it.
//
// Points are given in order, x and y together: 16-bit integer points first, then real ones;
// the points not given yet are empty. The y column is laid where it lies in a plan of the usual
// shape (points 0 and 1 integers, 2 to the last but two reals, the last two empty), so that
// building such a plan never moves it. A plan cut short has its y column moved up to the end of
// the x column when its image is asked for; one that goes past that shape makes room as it
// grows.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "model/basso_prima.h"

// Tags of a tagged number, with the values the plan file writes for them.
enum class Etichetta : uint8_t { vuoto = 0, intero_16 = 2, reale_64 = 5 };

// Bytes that a tagged number with this tag takes in the plan file: the 16-bit tag, then
// nothing, a 16-bit integer or a 64-bit real.
constexpr int64_t byte_numero(Etichetta e) {
  switch (e) {
    case Etichetta::intero_16:
      return 4;
    case Etichetta::reale_64:
      return 10;
    case Etichetta::vuoto:
      break;
  }
  return 2;
}

class Tracciato {
 public:
  Tracciato() = default;
  Tracciato(const Tracciato& altro);
  Tracciato& operator=(const Tracciato& altro);
  Tracciato(Tracciato&&) noexcept = default;
  Tracciato& operator=(Tracciato&&) noexcept = default;
  ~Tracciato() = default;

  // Points 0 to `ultimo_punto`, all empty. Replaces any earlier plan, in its storage when that
  // is large enough.
  void crea(int32_t ultimo_punto);
  // No plan, as before `crea`; the storage is kept for the next one. A caller that compiles
  // many lines in turn saves fresh memory for each plan, whose first touch costs more than
  // computing it.
  void svuota();
  bool esiste() const { return ultimo_punto_ >= 0; }
  int32_t ultimo_punto() const { return ultimo_punto_; }
  bool contiene(int64_t punto) const { return punto >= 0 && punto <= ultimo_punto_; }
  // Points 0 to punti() - 1 have been given; the others are empty.
  int32_t punti() const { return punti_; }

  // Read back from the image. A point or a column outside the plan is a programming error:
  // std::out_of_range.
  Etichetta etichetta(int32_t punto, int colonna) const;
  // The numeric value of a coordinate; an empty one reads 0.
  double valore(int32_t punto, int colonna) const;
  int16_t intero(int32_t punto, int colonna) const {
    return static_cast<int16_t>(valore(punto, colonna));
  }

  // Gives the next point, x and y. A point past the last one is std::out_of_range; an integer
  // point after a real one std::logic_error.
  void aggiungi_intero(int16_t x, int16_t y);
  void aggiungi_reale(double x, double y) {
    aggiungi_reali(1, [x, y] { return std::pair{x, y}; });
  }
  // Gives the next `n` points as reals, each the pair (x, y) that `punto()` returns, called n
  // times in order. Defined here, and written through local pointers, so that building a long
  // line costs the bytes it writes: a line of 1000 km gives a million points.
  template <typename Genera>
  void aggiungi_reali(int32_t n, Genera punto) {
    if (n < 0 || n > ultimo_punto_ - punti_ + 1) {
      fuori_dal_tracciato(int64_t{punti_} + n - 1);
    }
    const size_t byte = static_cast<size_t>(n) * kByteReale;
    if (riempiti_ + byte > inizio_y_) {
      fai_spazio();
    }
    char* x = byte_.get() + riempiti_;
    char* y = x + inizio_y_;
    for (int32_t i = 0; i < n; ++i) {
      const auto [vx, vy] = punto();
      metti(x, Etichetta::reale_64, std::bit_cast<uint64_t>(double{vx}));
      metti(y, Etichetta::reale_64, std::bit_cast<uint64_t>(double{vy}));
      x += kByteReale;
      y += kByteReale;
    }
    riempiti_ += byte;
    punti_ += n;
  }

  // The bytes of the plan file: both columns, the points not given as empties. Empty when no
  // plan was created.
  std::string_view immagine();

 private:
  static constexpr size_t kByteEtichetta = byte_numero(Etichetta::vuoto);
  static constexpr size_t kByteReale = byte_numero(Etichetta::reale_64);

  // A tagged number at p.
  template <typename U>
  static void metti(char* p, Etichetta e, U v) {
    scrivi_basso_prima(p, static_cast<uint16_t>(e));
    scrivi_basso_prima(p + kByteEtichetta, v);
  }
  // Where the tagged number of a given point lies in the image.
  size_t posto(int32_t punto, int colonna) const;
  // Moves the y column further on, far enough for every point still to come as a real.
  void fai_spazio();
  // Lays the y column at `inizio_y`, keeping both columns' numbers.
  void sposta_y(size_t inizio_y);
  [[noreturn]] static void fuori_dal_tracciato(int64_t punto);

  int32_t ultimo_punto_ = -1;
  int32_t punti_ = 0;
  int32_t interi_ = 0;   // the first points, given as 16-bit integers
  size_t riempiti_ = 0;  // bytes taken in each column by the points given
  size_t inizio_y_ = 0;  // where the y column starts
  size_t capacita_ = 0;  // bytes held by byte_
  std::unique_ptr<char[]> byte_;
};
