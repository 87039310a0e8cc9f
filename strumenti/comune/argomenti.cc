#include "strumenti/comune/argomenti.h"

#include <initializer_list>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "generati/versione.h"
#include "platform/piattaforma.h"
#include "platform/riga_di_comando.h"

RigaDiComando::RigaDiComando(int argc, char** argv)
    : testi(piattaforma::apri_riga_di_comando(argc, argv)) {
  for (std::string& testo : testi) {
    puntatori.push_back(testo.data());
  }
}

namespace {

bool contiene(const std::vector<std::string>& testi, std::initializer_list<const char*> cercati) {
  for (size_t i = 1; i < testi.size(); ++i) {
    for (const char* cercato : cercati) {
      if (testi[i] == cercato) {
        return true;
      }
    }
  }
  return false;
}

std::string messaggio_di(const CLI::ParseError& e) {
  const std::string testo = e.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr) {
    const size_t due_punti = testo.find(':');
    const size_t inizio = testo.find_first_not_of(' ', due_punti + 1);
    return "argomento in piu': " + (inizio == std::string::npos ? testo : testo.substr(inizio));
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr) {
    return "un'opzione senza il suo valore (" + testo + ")";
  }
  return testo;
}

}  // namespace

bool RigaDiComando::chiede_aiuto() const {
  return contiene(testi, {"--help", "-h"});
}

bool RigaDiComando::chiede_versione() const {
  return contiene(testi, {"--version"});
}

RigaLetta leggi_riga(CLI::App& app, RigaDiComando& riga, const std::string& mancante) {
  // Without a name of its own the parser would take the path the program was started by.
  if (app.get_name().empty()) {
    throw std::logic_error("leggi_riga: il programma non ha un nome");
  }
  const std::string versione = riga_della_versione(app.get_name());
  bool aiuto = false;
  bool chiede_versione = false;
  app.set_help_flag();
  app.add_flag("--help,-h", aiuto);
  app.add_flag("--version", chiede_versione);
  RigaLetta letta;
  try {
    app.parse(riga.argc(), riga.argv());
  } catch (const CLI::ParseError& e) {
    if (riga.chiede_aiuto()) {
      letta.aiuto = true;
    } else if (riga.chiede_versione()) {
      letta.versione = versione;
    } else if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr) {
      letta.errore = mancante;
    } else {
      letta.errore = messaggio_di(e);
    }
    return letta;
  }
  letta.aiuto = aiuto;
  if (chiede_versione && !aiuto) {
    letta.versione = versione;
  }
  return letta;
}

int argomenti_sbagliati(const PresentazioneStrumento& p, const std::string& messaggio) {
  std::cerr << p.programma << ": " << messaggio << "\n" << p.uso << "\n";
  return piattaforma::kStatoGuasto;
}

std::optional<int> risposta_alla_riga(const PresentazioneStrumento& p, const RigaLetta& letta) {
  if (letta.aiuto) {
    std::cout << p.uso << "\n" << p.aiuto;
    return 0;
  }
  if (letta.versione) {
    std::cout << *letta.versione << "\n";
    return 0;
  }
  if (letta.errore) {
    return argomenti_sbagliati(p, *letta.errore);
  }
  return std::nullopt;
}
