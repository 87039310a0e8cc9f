#include "platform/disco_in_memoria.h"

namespace piattaforma {
namespace {

constexpr char kGuasto[] = "guasto simulato";
constexpr char kAssente[] = "No such file or directory";
constexpr char kPresente[] = "File exists";

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
  if (file.erase(percorso) == 0) {
    throw ErroreFile("eliminare", percorso, kAssente);
  }
}

void DiscoInMemoria::scrivi_nuovo(const std::string& percorso, std::string_view contenuto) {
  const bool guasto = conta("creare", percorso);
  if (file.contains(percorso)) {
    throw ErroreFile("creare", percorso, kPresente);
  }
  if (guasto) {
    file[percorso] = std::string(contenuto.substr(0, contenuto.size() / 2));
    throw ErroreFile("scrivere", percorso, kGuasto);
  }
  file[percorso] = std::string(contenuto);
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
  file[a] = std::move(contenuto);
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
  file[nuovo] = trovato->second;
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
