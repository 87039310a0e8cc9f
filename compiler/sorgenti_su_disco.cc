#include "compiler/sorgenti_su_disco.h"

#include "model/nomi_file.h"

namespace {

template <typename Passo>
auto sul_disco(Passo passo) {
  try {
    return passo();
  } catch (const piattaforma::ErroreFile& e) {
    throw ErroreSorgente(e.operazione(), e.what());
  }
}

}  // namespace

SorgentiSuDisco::SorgentiSuDisco(piattaforma::Disco& disco, const std::string& cartella,
                                 const Scenario& s)
    : disco_(disco),
      linea_(disco.percorso_in(cartella, nome_sorgente_linea(s))),
      treno_(disco.percorso_in(cartella, nome_sorgente_treno(s))) {}

bool SorgentiSuDisco::esiste(Sorgente s) {
  return sul_disco([&] { return disco_.esiste(percorso(s)); });
}

std::string SorgentiSuDisco::leggi(Sorgente s) {
  return sul_disco([&] { return disco_.leggi(percorso(s)); });
}

void SorgentiSuDisco::elimina(Sorgente s) {
  sul_disco([&] { disco_.elimina(percorso(s)); });
}

void SorgentiSuDisco::elimina_se_esiste(Sorgente s) {
  sul_disco([&] { disco_.elimina_se_esiste(percorso(s)); });
}
