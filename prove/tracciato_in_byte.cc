#include "prove/tracciato_in_byte.h"

#include "compiler/scrittore_byte.h"

std::string immagine_tracciato_letto(const TracciatoLetto& t) {
  ScrittoreByte w;
  for (size_t i = 0; i < t.etichette().size(); ++i) {
    const Etichetta e = t.etichette()[i];
    w.u16(static_cast<uint16_t>(e));
    if (e == Etichetta::intero_16) {
      w.i16(static_cast<int16_t>(t.valori()[i]));
    } else if (e == Etichetta::reale_64) {
      w.f64(t.valori()[i]);
    }
  }
  return std::move(w).prendi();
}
