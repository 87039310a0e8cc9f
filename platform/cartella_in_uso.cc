#include "platform/cartella_in_uso.h"

#include "platform/sostituzione.h"

namespace piattaforma {

CartellaInUso::CartellaInUso(Disco& disco, std::string cartella, std::vector<std::string> nomi)
    : disco_(disco), cartella_(std::move(cartella)), nomi_(std::move(nomi)) {
  presa_ = disco_.blocca(cartella_);
  // With the folder held, no temporary of these names can be a live run's.
  disco_.elimina_temporanei(cartella_, nomi_);
}

CartellaInUso::~CartellaInUso() {
  if (!concluso_) {
    try {
      disco_.elimina_temporanei(cartella_, nomi_);
    } catch (const std::exception&) {
      // The failure that ends the run is the one to report; the next run sweeps again.
    }
  }
}

std::vector<std::string> CartellaInUso::sostituisci_insieme(std::span<const FileDaScrivere> file) {
  return piattaforma::sostituisci_insieme(disco_, cartella_, file);
}

std::vector<std::string> sostituisci_insieme(Disco& disco, const std::string& cartella,
                                             std::span<const FileDaScrivere> file) {
  Sostituzione insieme(disco);
  std::vector<std::string> percorsi;
  for (const FileDaScrivere& f : file) {
    percorsi.push_back(disco.percorso_in(cartella, f.nome));
    insieme.prepara(percorsi.back(), f.contenuto);
  }
  insieme.completa();
  return percorsi;
}

void CartellaInUso::concludi() {
  concluso_ = true;
  disco_.elimina_temporanei(cartella_, nomi_);
}

std::vector<std::string> scrivi_insieme(Disco& disco, const std::string& cartella,
                                        std::span<const FileDaScrivere> file) {
  std::vector<std::string> nomi;
  for (const FileDaScrivere& f : file) {
    nomi.push_back(f.nome);
  }
  CartellaInUso uso(disco, cartella, std::move(nomi));
  std::vector<std::string> scritti = uso.sostituisci_insieme(file);
  uso.concludi();
  return scritti;
}

}  // namespace piattaforma
