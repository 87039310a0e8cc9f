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

}  // namespace piattaforma
