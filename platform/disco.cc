#include "platform/disco.h"

#include "platform/sostituzione.h"

namespace piattaforma {
namespace {

constexpr std::string_view kTemporaneo = ".tmp-";

bool tutte_cifre(std::string_view testo) {
  if (testo.empty()) {
    return false;
  }
  for (const char c : testo) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace

ErroreFile::ErroreFile(std::string operazione, std::string percorso, std::string motivo)
    : std::runtime_error("impossibile " + operazione + " " + percorso + ": " + motivo),
      operazione_(std::move(operazione)),
      percorso_(std::move(percorso)),
      motivo_(std::move(motivo)) {}

void Disco::ricrea(const std::string& percorso, std::string_view contenuto) {
  Sostituzione sostituzione(*this);
  sostituzione.prepara(percorso, contenuto);
  sostituzione.completa();
}

std::string Disco::percorso_in(const std::string& cartella, std::string_view nome) const {
  std::string percorso = cartella;
  percorso += separatore();
  percorso += nome;
  return percorso;
}

void Disco::elimina_se_esiste(const std::string& percorso) noexcept {
  try {
    if (esiste(percorso)) {
      elimina(percorso);
    }
  } catch (const std::exception&) {
    // Clean-up after a failure: what cannot be deleted stays.
  }
}

std::string Disco::nome_temporaneo(const std::string& percorso) {
  return percorso + std::string(kTemporaneo) + std::to_string(numero_processo()) + "-" +
         std::to_string(temporanei_++);
}

bool Disco::e_temporaneo_di(std::string_view nome, std::string_view nome_finale) {
  if (!nome.starts_with(nome_finale) || !nome.substr(nome_finale.size()).starts_with(kTemporaneo)) {
    return false;
  }
  const std::string_view numeri = nome.substr(nome_finale.size() + kTemporaneo.size());
  const size_t trattino = numeri.find('-');
  return trattino != std::string_view::npos && tutte_cifre(numeri.substr(0, trattino)) &&
         tutte_cifre(numeri.substr(trattino + 1));
}

void Disco::elimina_temporanei(const std::string& cartella, std::span<const std::string> nomi) {
  for (const std::string& nome : elenca(cartella)) {
    for (const std::string& finale : nomi) {
      if (e_temporaneo_di(nome, finale)) {
        elimina(percorso_in(cartella, nome));
        break;
      }
    }
  }
}

}  // namespace piattaforma
