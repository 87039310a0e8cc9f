// A fresh empty folder for one test, removed with everything in it when the test ends.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace piattaforma {

class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

  const std::string& percorso() const { return percorso_; }
  std::string file(std::string_view nome) const;

  // Writes `contenuto` as the file `nome` of the folder, byte for byte.
  void scrivi(std::string_view nome, std::string_view contenuto) const;
  // The content of file `nome`; fails the test when it cannot be read.
  std::string leggi(std::string_view nome) const;
  bool esiste(std::string_view nome) const;
  // Every name in the folder, files and folders alike, in order.
  std::vector<std::string> nomi() const;
  // The files of the folder (not the folders in it), by name, with their content.
  std::map<std::string, std::string> contenuti() const;

 private:
  std::string percorso_;
};

}  // namespace piattaforma
