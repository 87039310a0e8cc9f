// The disk of the machine, through the system's own calls: POSIX on Linux, the Windows API on
// Windows. A file is renamed over another by rename(2) or MoveFileEx, a folder is held by an
// advisory lock on the folder itself or by a named mutex derived from its full path.
#pragma once

#include "platform/disco.h"

namespace piattaforma {

class DiscoReale : public Disco {
 public:
  std::string leggi(const std::string& percorso) override;
  bool esiste(const std::string& percorso) override;
  void elimina(const std::string& percorso) override;
  void scrivi_nuovo(const std::string& percorso, std::string_view contenuto) override;
  void rinomina(const std::string& da, const std::string& a) override;
  void collega(const std::string& esistente, const std::string& nuovo) override;
  std::vector<std::string> elenca(const std::string& cartella) override;
  std::unique_ptr<BloccoCartella> blocca(const std::string& cartella) override;
  char separatore() const override;

 protected:
  uint64_t numero_processo() const override;
};

}  // namespace piattaforma
