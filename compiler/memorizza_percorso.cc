#include "compiler/memorizza_percorso.h"

void memorizza_percorso(Scenario& s, const std::string& cartella, int32_t j) {
  (void)cartella;
  s.con_tracciato = j;
  s.codice_errore = 0;
  s.voci.fill(Voce{});
}
