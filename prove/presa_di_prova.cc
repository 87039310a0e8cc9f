// Test program for the Windows build: holds its own folder as a run of genera_scenario holds
// it, through the same platform code, so that a run started there meanwhile must wait. Creates
// "pronto" in that folder once it holds it, then waits for a file "fatto", lets go and ends; it
// gives up after five minutes.
#include <chrono>
#include <exception>
#include <string>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "prove/pronto_e_fatto.h"

namespace {

constexpr std::chrono::minutes kAttesaMassima{5};
constexpr int kStatoNessunoHaFinito = 3;

}  // namespace

int main() {
  try {
    piattaforma::DiscoReale disco;
    const std::string cartella = piattaforma::cartella_eseguibile();
    const auto presa = disco.blocca(cartella);
    return segnala_pronto_e_attendi_fatto(disco, cartella, kAttesaMassima) ? 0
                                                                           : kStatoNessunoHaFinito;
  } catch (const std::exception& e) {
    piattaforma::segnala_guasto_e_termina(std::string("presa_di_prova: ") + e.what());
  }
}
