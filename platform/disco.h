// What the job does with files, as one small interface: read a whole file, tell whether one
// exists, delete one, recreate one with its bytes, list the files of a folder. The real disk and a
// disk in memory both implement it, and the compile cannot tell them apart. A failure throws
// ErroreFile, which carries what was being done, to which file and why.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace piattaforma {

class ErroreFile : public std::runtime_error {
 public:
  ErroreFile(std::string operazione, std::string percorso, std::string motivo);

  const std::string& operazione() const { return operazione_; }
  const std::string& percorso() const { return percorso_; }
  const std::string& motivo() const { return motivo_; }

 private:
  std::string operazione_;
  std::string percorso_;
  std::string motivo_;
};

class Disco {
 public:
  virtual ~Disco() = default;

  // The whole content of the file, byte for byte.
  virtual std::string leggi(const std::string& percorso) = 0;

  virtual bool esiste(const std::string& percorso) = 0;

  // Deletes the file; a file that is not there is a failure.
  virtual void elimina(const std::string& percorso) = 0;

  // Recreates the file and writes `contenuto` into it: the file is opened without truncation
  // (which creates it when absent) and closed, deleted, created anew, written and closed.
  // Older content never survives, even when it was longer.
  virtual void ricrea(const std::string& percorso, std::string_view contenuto) = 0;

  // The names (without folder) of the files in `cartella`, sorted; folders inside it are left
  // out. A folder that cannot be read is a failure.
  virtual std::vector<std::string> elenca(const std::string& cartella) = 0;

  // The separator between a folder and a file name.
  virtual char separatore() const = 0;

  // Full name of file `nome` inside `cartella`: the folder, the separator, the name.
  std::string percorso_in(const std::string& cartella, std::string_view nome) const;

  // Deletes the file when it is there; for clean-up after a failure, so it never fails itself.
  void elimina_se_esiste(const std::string& percorso) noexcept;
};

}  // namespace piattaforma
