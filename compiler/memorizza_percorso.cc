#include "compiler/memorizza_percorso.h"

#include "compiler/memorizza_dati.h"

void memorizza_percorso(Scenario& s, const std::string& cartella, int32_t j) {
  s.con_tracciato = j;
  s.codice_errore = 0;
  s.voci.fill(Voce{});
  memorizza_dati(s, cartella);
}
