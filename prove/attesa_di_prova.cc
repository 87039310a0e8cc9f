// Test program for the Windows build: shows the wait window through the same platform code as
// genera_scenario and keeps it on screen, processing no messages, until it has been looked at.
// In its own folder it creates "pronto" once the window is painted, then waits for a file
// "fatto" and ends; it gives up after five minutes.
#include <windows.h>

#include <exception>
#include <string>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"

namespace {

constexpr int kAttesaMassimaMs = 5 * 60 * 1000;
constexpr int kPassoMs = 100;
constexpr int kStatoNessunoHaGuardato = 3;

}  // namespace

int main() {
  try {
    piattaforma::DiscoReale disco;
    const std::string cartella = piattaforma::cartella_eseguibile();
    piattaforma::mostra_attesa();
    disco.ricrea(disco.percorso_in(cartella, "pronto"), "");
    const std::string fatto = disco.percorso_in(cartella, "fatto");
    for (int attesa = 0; attesa < kAttesaMassimaMs; attesa += kPassoMs) {
      if (disco.esiste(fatto)) {
        return 0;
      }
      Sleep(kPassoMs);
    }
    return kStatoNessunoHaGuardato;
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("attesa_di_prova: ") + e.what());
  }
}
