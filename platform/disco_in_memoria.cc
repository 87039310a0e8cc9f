#include "platform/disco_in_memoria.h"

namespace piattaforma {

void DiscoInMemoria::conta(const char* operazione, const std::string& percorso) {
  const int64_t indice = operazioni++;
  if (registra) {
    registro.push_back(std::string(operazione) + " " + percorso);
  }
  if (indice == guasto_all_operazione) {
    throw ErroreFile(operazione, percorso, "guasto simulato");
  }
}

std::string DiscoInMemoria::leggi(const std::string& percorso) {
  conta("aprire", percorso);
  const auto trovato = file.find(percorso);
  if (trovato == file.end()) {
    throw ErroreFile("aprire", percorso, "No such file or directory");
  }
  return trovato->second;
}

bool DiscoInMemoria::esiste(const std::string& percorso) {
  return file.contains(percorso);
}

void DiscoInMemoria::elimina(const std::string& percorso) {
  conta("eliminare", percorso);
  if (file.erase(percorso) == 0) {
    throw ErroreFile("eliminare", percorso, "No such file or directory");
  }
}

void DiscoInMemoria::ricrea(const std::string& percorso, std::string_view contenuto) {
  conta("creare", percorso);
  file[percorso] = std::string(contenuto);
}

// A folder exists in memory only through the files under it.
std::vector<std::string> DiscoInMemoria::elenca(const std::string& cartella) {
  conta("elencare", cartella);
  const std::string prefisso = cartella + separatore();
  std::vector<std::string> nomi;
  bool cartella_trovata = false;
  for (auto it = file.lower_bound(prefisso); it != file.end(); ++it) {
    const std::string& percorso = it->first;
    if (percorso.compare(0, prefisso.size(), prefisso) != 0) {
      break;
    }
    cartella_trovata = true;
    const std::string nome = percorso.substr(prefisso.size());
    if (nome.find(separatore()) == std::string::npos) {
      nomi.push_back(nome);
    }
  }
  if (!cartella_trovata) {
    throw ErroreFile("elencare", cartella, "No such file or directory");
  }
  return nomi;
}

}  // namespace piattaforma
