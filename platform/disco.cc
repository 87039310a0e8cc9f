#include "platform/disco.h"

namespace piattaforma {

ErroreFile::ErroreFile(std::string operazione, std::string percorso, std::string motivo)
    : std::runtime_error("impossibile " + operazione + " " + percorso + ": " + motivo),
      operazione_(std::move(operazione)),
      percorso_(std::move(percorso)),
      motivo_(std::move(motivo)) {}

std::string Disco::percorso_in(const std::string& cartella, std::string_view nome) const {
  std::string percorso = cartella;
  percorso += separatore();
  percorso += nome;
  return percorso;
}

void Disco::elimina_se_esiste(const std::string& percorso) noexcept {
  try {
    if (esiste(percorso)) {
      elimina(percorso);
    }
  } catch (const std::exception&) {
    // Clean-up after a failure: what cannot be deleted stays.
  }
}

}  // namespace piattaforma
