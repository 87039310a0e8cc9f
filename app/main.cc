// genera_scenario: writes the scenario Tavena_Crostia, train 4417, into the folder that holds
// this executable and compiles it into the files the simulator loads.
#include <exception>
#include <string>

#include "app/form_load.h"
#include "compiler/errore.h"
#include "model/codici_errore.h"
#include "platform/disco_reale.h"
#include "platform/piattaforma.h"

int main() {
  Scenario s;
  piattaforma::DiscoReale disco;
  try {
    Form_Load(s, disco, piattaforma::cartella_eseguibile());
  } catch (const ErroreTerminale& e) {
    piattaforma::mostra_errore_e_termina(e.what());
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("genera_scenario: ") + e.what());
  }
  // The binary files are written whatever the data held, but a run whose data had a problem,
  // or that left no track to write, is not a success.
  if (s.codice_errore != 0 || s.percorso.empty()) {
    piattaforma::segnala_problema_e_termina(
        "genera_scenario: codice_errore " + std::to_string(s.codice_errore) +
        ", posizione_errore " + std::to_string(s.posizione_errore) +
        " m: " + std::string(significato(s.codice_errore)));
  }
  return 0;
}
