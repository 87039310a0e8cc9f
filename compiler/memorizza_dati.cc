#include "compiler/memorizza_dati.h"

#include "model/nomi_file.h"
#include "platform/file_system.h"

void memorizza_dati(Scenario& s, const std::string& cartella) {
  s.voci[kVoceScenario].testo = s.nome_scenario;
  s.voci[kVoceRipetizione].testo = s.numero_treno;
  if (!piattaforma::esiste_file(piattaforma::percorso_in(cartella, nome_sorgente_linea(s)))) {
    s.codice_errore = 101;
  }
}
