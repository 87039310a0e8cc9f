// Changes to the files of a few folders, as the system reports them. Editors save by writing
// another file and renaming it over the old one, so a folder is watched, not a file: every
// file created, written, renamed into or removed from it is reported by its name.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace piattaforma {

struct FileCambiato {
  size_t cartella = 0;  // index into the folders given
  std::string nome;     // the file's name in that folder, UTF-8
  // The event says the file is whole: closed after writing, or renamed into the folder. A
  // file created, removed or written without a close to follow may still be changing.
  bool completo = false;
};

class OsservatoreCartelle {
 public:
  // Starts watching; a folder that cannot be watched throws ErroreFile.
  explicit OsservatoreCartelle(const std::vector<std::string>& cartelle);
  ~OsservatoreCartelle();
  OsservatoreCartelle(const OsservatoreCartelle&) = delete;
  OsservatoreCartelle& operator=(const OsservatoreCartelle&) = delete;

  // The files that changed, waiting up to `limite` for the first; empty when none did.
  std::vector<FileCambiato> attendi(std::chrono::milliseconds limite);

 private:
  struct Stato;
  std::unique_ptr<Stato> stato_;
};

}  // namespace piattaforma
