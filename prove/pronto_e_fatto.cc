#include "prove/pronto_e_fatto.h"

#include <thread>

bool segnala_pronto_e_attendi_fatto(piattaforma::Disco& disco, const std::string& cartella,
                                    std::chrono::milliseconds attesa_massima) {
  constexpr std::chrono::milliseconds kPasso{100};
  disco.ricrea(disco.percorso_in(cartella, "pronto"), "");
  const std::string fatto = disco.percorso_in(cartella, "fatto");
  for (std::chrono::milliseconds attesa{0}; attesa < attesa_massima; attesa += kPasso) {
    if (disco.esiste(fatto)) {
      return true;
    }
    std::this_thread::sleep_for(kPasso);
  }
  return false;
}
