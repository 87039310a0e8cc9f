#include "platform/disco_in_memoria.h"

#include <algorithm>

namespace piattaforma {
namespace {

constexpr char kGuasto[] = "guasto simulato";
constexpr char kAssente[] = "No such file or directory";
constexpr char kPresente[] = "File exists";

// Storage worth keeping for later files, and how much of it is kept.
constexpr size_t kContenutoGrande = size_t{64} * 1024;
constexpr size_t kContenutiConservati = 4;

class BloccoInMemoria : public BloccoCartella {
 public:
  BloccoInMemoria(std::set<std::string>& bloccate, std::string cartella)
      : bloccate_(bloccate), cartella_(std::move(cartella)) {}
  ~BloccoInMemoria() override { bloccate_.erase(cartella_); }

 private:
  std::set<std::string>& bloccate_;
  std::string cartella_;
};

}  // namespace

std::string DiscoInMemoria::nuovo_contenuto(std::string_view byte) {
  auto scelto = riserva_.end();
  for (auto it = riserva_.begin(); it != riserva_.end(); ++it) {
    if (it->capacity() >= byte.size() &&
        (scelto == riserva_.end() || it->capacity() < scelto->capacity())) {
      scelto = it;
    }
  }
  if (scelto == riserva_.end()) {
    return std::string(byte);
  }
  std::string contenuto = std::move(*scelto);
  riserva_.erase(scelto);
  contenuto.assign(byte);
  return contenuto;
}

void DiscoInMemoria::conserva(std::string&& contenuto) {
  if (contenuto.capacity() < kContenutoGrande) {
    return;
  }
  if (riserva_.size() == kContenutiConservati) {
    // The smallest one makes room.
    const auto minore = std::min_element(
        riserva_.begin(), riserva_.end(),
        [](const std::string& a, const std::string& b) { return a.capacity() < b.capacity(); });
    if (minore->capacity() >= contenuto.capacity()) {
      return;
    }
    riserva_.erase(minore);
  }
  riserva_.push_back(std::move(contenuto));
}

bool DiscoInMemoria::conta(const char* operazione, const std::string& percorso) {
  const int64_t indice = operazioni++;
  if (registra) {
    registro.push_back(std::string(operazione) + " " + percorso);
  }
  return indice == guasto_all_operazione;
}

std::string DiscoInMemoria::leggi(const std::string& percorso) {
  if (conta("aprire", percorso)) {
    throw ErroreFile("aprire", percorso, kGuasto);
  }
  const auto trovato = file.find(percorso);
  if (trovato == file.end()) {
    throw ErroreFile("aprire", percorso, kAssente);
  }
  return trovato->second;
}

bool DiscoInMemoria::esiste(const std::string& percorso) {
  return file.contains(percorso);
}

void DiscoInMemoria::elimina(const std::string& percorso) {
  if (conta("eliminare", percorso)) {
    throw ErroreFile("eliminare", percorso, kGuasto);
  }
  const auto trovato = file.find(percorso);
  if (trovato == file.end()) {
    throw ErroreFile("eliminare", percorso, kAssente);
  }
  conserva(std::move(trovato->second));
  file.erase(trovato);
}

void DiscoInMemoria::scrivi_nuovo(const std::string& percorso, std::string_view contenuto) {
  const bool guasto = conta("creare", percorso);
  if (file.contains(percorso)) {
    throw ErroreFile("creare", percorso, kPresente);
  }
  if (guasto) {
    file[percorso] = nuovo_contenuto(contenuto.substr(0, contenuto.size() / 2));
    throw ErroreFile("scrivere", percorso, kGuasto);
  }
  file[percorso] = nuovo_contenuto(contenuto);
}

void DiscoInMemoria::rinomina(const std::string& da, const std::string& a) {
  if (conta("rinominare", da + " " + a)) {
    throw ErroreFile("sostituire", a, kGuasto);
  }
  const auto trovato = file.find(da);
  if (trovato == file.end()) {
    throw ErroreFile("sostituire", a, kAssente);
  }
  std::string contenuto = std::move(trovato->second);
  file.erase(trovato);
  std::string& destinazione = file[a];
  conserva(std::move(destinazione));
  destinazione = std::move(contenuto);
}

void DiscoInMemoria::collega(const std::string& esistente, const std::string& nuovo) {
  if (conta("collegare", esistente + " " + nuovo)) {
    throw ErroreFile("collegare", nuovo, kGuasto);
  }
  const auto trovato = file.find(esistente);
  if (trovato == file.end()) {
    throw ErroreFile("collegare", esistente, kAssente);
  }
  if (file.contains(nuovo)) {
    throw ErroreFile("collegare", nuovo, kPresente);
  }
  file[nuovo] = nuovo_contenuto(trovato->second);
}

std::vector<std::string> DiscoInMemoria::elenca(const std::string& cartella) {
  if (conta("elencare", cartella)) {
    throw ErroreFile("elencare", cartella, kGuasto);
  }
  const std::string prefisso = cartella + separatore();
  std::vector<std::string> nomi;
  for (auto it = file.lower_bound(prefisso); it != file.end() && it->first.starts_with(prefisso);
       ++it) {
    const std::string nome = it->first.substr(prefisso.size());
    if (nome.find(separatore()) == std::string::npos) {
      nomi.push_back(nome);
    }
  }
  return nomi;
}

std::unique_ptr<BloccoCartella> DiscoInMemoria::blocca(const std::string& cartella) {
  if (conta("bloccare", cartella)) {
    throw ErroreFile("bloccare", cartella, kGuasto);
  }
  if (!cartelle_bloccate.insert(cartella).second) {
    throw std::logic_error("cartella gia bloccata: " + cartella);
  }
  return std::make_unique<BloccoInMemoria>(cartelle_bloccate, cartella);
}

}  // namespace piattaforma
