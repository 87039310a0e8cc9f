// The disk of the machine: files through the C library, paths as the system takes them.
#pragma once

#include "platform/disco.h"

namespace piattaforma {

class DiscoReale : public Disco {
 public:
  std::string leggi(const std::string& percorso) override;
  bool esiste(const std::string& percorso) override;
  void elimina(const std::string& percorso) override;
  void ricrea(const std::string& percorso, std::string_view contenuto) override;
  std::vector<std::string> elenca(const std::string& cartella) override;
  char separatore() const override;
};

}  // namespace piattaforma
