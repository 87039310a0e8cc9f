#include "compiler/memorizza_percorso.h"

#include "compiler/abbattimenti.h"
#include "compiler/codici_gara.h"
#include "compiler/memorizza_dati.h"
#include "compiler/scrivi_binario.h"
#include "model/nomi_file.h"

void memorizza_percorso(Scenario& s, piattaforma::Disco& disco, const std::string& cartella,
                        int32_t j) {
  s.con_tracciato = j;
  s.codice_errore = 0;
  s.voci.fill(Voce{});
  memorizza_dati(s, disco, cartella);
  completa_percorso(s, disco, cartella);
}

void completa_percorso(Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  if (s.percorso.empty()) {
    return;
  }
  aggiungi_abbattimenti(s);
  applica_timbri(s);
  // The three files are written first and take their names together, so that a failure on
  // any of them leaves the three files of the run before.
  piattaforma::Sostituzione binari(disco);
  if (s.con_tracciato != 0) {
    scrivi_binario(binari, disco.percorso_in(cartella, nome_file_tracciato(s)), s.tracciato);
  }
  scrivi_binario(binari, disco.percorso_in(cartella, nome_file_voci(s)), s.voci);
  scrivi_binario(binari, disco.percorso_in(cartella, nome_file_percorso(s)), s.percorso);
  binari.completa();
}
