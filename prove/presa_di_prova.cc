// Test program for the Windows build: holds its own folder as a run of genera_scenario holds
// it, through the same platform code, so that a run started there meanwhile must wait. Creates
// "pronto" in that folder once it holds it, then waits for a file "fatto", lets go and ends; it
// gives up after five minutes.
#include <windows.h>

#include <exception>
#include <string>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"

namespace {

constexpr int kAttesaMassimaMs = 5 * 60 * 1000;
constexpr int kPassoMs = 100;
constexpr int kStatoNessunoHaFinito = 3;

}  // namespace

int main() {
  try {
    piattaforma::DiscoReale disco;
    const std::string cartella = piattaforma::cartella_eseguibile();
    const auto presa = disco.blocca(cartella);
    disco.ricrea(disco.percorso_in(cartella, "pronto"), "");
    const std::string fatto = disco.percorso_in(cartella, "fatto");
    for (int attesa = 0; attesa < kAttesaMassimaMs; attesa += kPassoMs) {
      if (disco.esiste(fatto)) {
        return 0;
      }
      Sleep(kPassoMs);
    }
    return kStatoNessunoHaFinito;
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("presa_di_prova: ") + e.what());
  }
}
