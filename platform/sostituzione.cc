#include "platform/sostituzione.h"

namespace piattaforma {

Sostituzione::~Sostituzione() {
  for (const File& f : file_) {
    if (!f.temporaneo.empty()) {
      disco_.elimina_se_esiste(f.temporaneo);
    }
    if (!f.copia.empty()) {
      disco_.elimina_se_esiste(f.copia);
    }
  }
}

void Sostituzione::prepara(const std::string& percorso, std::string_view contenuto) {
  File f{percorso, disco_.nome_temporaneo(percorso), ""};
  try {
    disco_.scrivi_nuovo(f.temporaneo, contenuto);
  } catch (...) {
    disco_.elimina_se_esiste(f.temporaneo);
    throw;
  }
  file_.push_back(std::move(f));
}

void Sostituzione::completa() {
  // A failed rename must be able to put back every file renamed before it, so each of those
  // keeps its old content under a second name until the last rename is done. The last file
  // needs none: nothing comes after it that could fail.
  for (size_t i = 0; i + 1 < file_.size(); ++i) {
    File& f = file_[i];
    if (!disco_.esiste(f.finale)) {
      continue;
    }
    std::string copia = disco_.nome_temporaneo(f.finale);
    try {
      disco_.collega(f.finale, copia);
    } catch (...) {
      disco_.elimina_se_esiste(copia);
      throw;
    }
    f.copia = std::move(copia);
  }
  // The renames follow each other with nothing in between, so that a process that dies here
  // leaves the set mixed only for this short while.
  for (size_t i = 0; i < file_.size(); ++i) {
    File& f = file_[i];
    try {
      disco_.rinomina(f.temporaneo, f.finale);
    } catch (...) {
      ripristina(i);
      throw;
    }
    f.temporaneo.clear();
  }
  for (File& f : file_) {
    if (!f.copia.empty()) {
      disco_.elimina_se_esiste(f.copia);
      f.copia.clear();
    }
  }
  file_.clear();
}

void Sostituzione::ripristina(size_t rinominati) noexcept {
  for (size_t i = rinominati; i-- > 0;) {
    File& f = file_[i];
    if (f.copia.empty()) {
      // There was no file before this set: the name goes back to holding nothing.
      disco_.elimina_se_esiste(f.finale);
      continue;
    }
    try {
      disco_.rinomina(f.copia, f.finale);
      f.copia.clear();
    } catch (const std::exception&) {
      // The new file stays whole where the old one could not be put back.
    }
  }
}

}  // namespace piattaforma
