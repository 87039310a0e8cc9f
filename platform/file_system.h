// File operations of the run: every output file is recreated whole, every source is read whole.
// A failure throws ErroreFile, which carries what was being done, to which file and why.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

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

// Full name of file `nome` inside `cartella`: the folder, the separator, the name.
std::string percorso_in(const std::string& cartella, std::string_view nome);

bool esiste_file(const std::string& percorso);

// Recreates the file and writes `contenuto` into it in one write: the file is opened without
// truncation (which creates it when absent) and closed, deleted, created anew, written and
// closed. Older content never survives, even when it was longer.
void ricrea_file(const std::string& percorso, std::string_view contenuto);

// The whole content of the file, byte for byte.
std::string leggi_file(const std::string& percorso);

void elimina_file(const std::string& percorso);

// Deletes the file when it is there; for clean-up after a failure, so it never fails itself.
void elimina_se_esiste(const std::string& percorso) noexcept;

}  // namespace piattaforma
