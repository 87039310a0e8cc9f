// Test program for the Windows build: shows the wait window through the same platform code as
// genera_scenario and keeps it on screen, processing no messages, until it has been looked at.
// In its own folder it creates "pronto" once the window is painted, then waits for a file
// "fatto" and ends; it gives up after five minutes.
#include <chrono>
#include <exception>
#include <string>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "prove/pronto_e_fatto.h"

namespace {

constexpr std::chrono::minutes kAttesaMassima{5};
constexpr int kStatoNessunoHaGuardato = 3;

}  // namespace

int main() {
  try {
    piattaforma::DiscoReale disco;
    const std::string cartella = piattaforma::cartella_eseguibile();
    piattaforma::mostra_attesa();
    return segnala_pronto_e_attendi_fatto(disco, cartella, kAttesaMassima)
               ? 0
               : kStatoNessunoHaGuardato;
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("attesa_di_prova: ") + e.what());
  }
}
