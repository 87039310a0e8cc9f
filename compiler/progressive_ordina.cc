#include "compiler/progressive_ordina.h"

#include <array>
#include <cstdint>

#include "compiler/celle.h"
#include "model/formato_voci.h"

namespace {

struct Terna {
  int32_t a = 0;    // route position
  int32_t b = 0;    // kilometric value in metres
  int32_t c = 0;    // flag
  int origine = 0;  // the entry the triple was read from; 0 for a cleared one
};

// Slots in their order T, D, U.
constexpr std::array<int, 3> kSlot = {kVoceProgressivaTre, kVoceProgressivaDue,
                                      kVoceProgressivaUno};
constexpr int kT = 0;
constexpr int kD = 1;
constexpr int kU = 2;

using Terne = std::array<Terna, 3>;

Terne ordina_per_posizione(const Terne& t) {
  for (int g = 0; g < 3; ++g) {
    const int x = (g + 1) % 3;
    const int y = (g + 2) % 3;
    if (t[g].a > t[x].a && t[g].a > t[y].a) {
      // The other two in slot order.
      const int primo = x < y ? x : y;
      const int secondo = x < y ? y : x;
      const bool primo_maggiore = t[primo].a > t[secondo].a;
      return {t[g], primo_maggiore ? t[primo] : t[secondo], primo_maggiore ? t[secondo] : t[primo]};
    }
  }
  return {};  // two or three share the greatest position
}

Terne ordina_per_valore(const Terne& t) {
  Terne risultato{};
  if (t[kT].b > 0) {
    risultato = t;
  }
  if (t[kD].b > 0) {
    risultato = {t[kD], t[kT], t[kU]};
  }
  if (t[kU].b > 0) {
    risultato = {t[kU], t[kD], t[kT]};
  }
  return risultato;
}

}  // namespace

std::array<int, 3> progressive_ordina(Scenario& s) {
  Terne t;
  for (int i = 0; i < 3; ++i) {
    const Voce& v = s.voci[static_cast<size_t>(kSlot[i])];
    t[i] = {v.inizio_area, v.fine_area, v.progressiva_voce, kSlot[i]};
  }
  const int64_t somma = int64_t{t[kT].a} + t[kD].a + t[kU].a;
  t = somma != 0 ? ordina_per_posizione(t) : ordina_per_valore(t);
  std::array<int, 3> origini{};
  for (int i = 0; i < 3; ++i) {
    Voce& v = s.voci[static_cast<size_t>(kSlot[i])];
    v.inizio_area = t[i].a;
    v.fine_area = t[i].b;
    v.progressiva_voce = t[i].c;
    origini[i] = t[i].origine;
  }
  for (int i = 0; i < 3; ++i) {
    Voce& v = s.voci[static_cast<size_t>(kSlot[i])];
    if (v.progressiva_voce == 1) {
      v.fine_area = in_32(int64_t{v.fine_area} + kAggiuntaRiferimento);
    }
  }
  return origini;
}
