// genera_scenario: writes the scenario Tavena_Crostia, train 4417, into the folder that holds
// this executable and compiles it into the files the simulator loads.
#include <exception>
#include <string>

#include "app/form_load.h"
#include "platform/piattaforma.h"

int main() {
  try {
    Scenario s;
    Form_Load(s, piattaforma::cartella_eseguibile());
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("genera_scenario: ") + e.what());
  }
  return 0;
}
