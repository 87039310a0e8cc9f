// genera_scenario: writes the scenario Tavena_Crostia, train 4417, into the folder that holds
// this executable and compiles it into the files the simulator loads. Its one argument, when
// it has one, is --version.
#include <exception>
#include <string>

#include "app/form_load.h"
#include "app/uscita.h"
#include "compiler/errore.h"
#include "generati/versione.h"
#include "platform/disco_reale.h"
#include "platform/piattaforma.h"

int main(int argc, char** argv) {
  // Asked for its version alone, it says it and does nothing else: no window, no file. Any
  // other command line is a run, as it has always been.
  if (chiede_solo_la_versione(argc, argv)) {
    piattaforma::scrivi_riga(riga_della_versione("genera_scenario"));
    return 0;
  }
  Scenario s;
  piattaforma::DiscoReale disco;
  EsitoCompilazione esito;
  try {
    esito = Form_Load(s, disco, piattaforma::cartella_eseguibile());
  } catch (const ErroreTerminale& e) {
    piattaforma::mostra_errore_e_termina(e.what());
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("genera_scenario: ") + e.what());
  }
  const Uscita uscita = uscita_della_corsa(esito);
  if (uscita.stato != 0) {
    piattaforma::segnala_problema_e_termina(uscita.riga);
  }
  return 0;
}
