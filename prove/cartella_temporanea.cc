#include "prove/cartella_temporanea.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace piattaforma {

CartellaTemporanea::CartellaTemporanea() {
  std::string modello =
      (std::filesystem::temp_directory_path() / "genera_scenario_XXXXXX").string();
  if (mkdtemp(modello.data()) == nullptr) {
    throw std::runtime_error("cartella temporanea non creata");
  }
  percorso_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ignorato;
  std::filesystem::remove_all(percorso_, ignorato);
}

std::string CartellaTemporanea::file(std::string_view nome) const {
  return percorso_ + "/" + std::string(nome);
}

void CartellaTemporanea::scrivi(std::string_view nome, std::string_view contenuto) const {
  std::ofstream f(file(nome), std::ios::binary | std::ios::trunc);
  f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
  if (!f) {
    throw std::runtime_error("file di prova non scritto: " + file(nome));
  }
}

std::string CartellaTemporanea::leggi(std::string_view nome) const {
  std::ifstream f(file(nome), std::ios::binary);
  if (!f) {
    throw std::runtime_error("file di prova non letto: " + file(nome));
  }
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool CartellaTemporanea::esiste(std::string_view nome) const {
  return std::filesystem::exists(file(nome));
}

std::vector<std::string> CartellaTemporanea::nomi() const {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(percorso_)) {
    nomi.push_back(voce.path().filename().string());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::map<std::string, std::string> CartellaTemporanea::contenuti() const {
  std::map<std::string, std::string> contenuti;
  for (const auto& voce : std::filesystem::directory_iterator(percorso_)) {
    if (voce.is_regular_file()) {
      const std::string nome = voce.path().filename().string();
      contenuti[nome] = leggi(nome);
    }
  }
  return contenuti;
}

}  // namespace piattaforma
