#include "strumenti/argomenti.h"

#include "platform/riga_di_comando.h"

RigaDiComando::RigaDiComando(int argc, char** argv)
    : testi(piattaforma::apri_riga_di_comando(argc, argv)) {
  for (std::string& testo : testi) {
    puntatori.push_back(testo.data());
  }
}

bool RigaDiComando::chiede_aiuto() const {
  for (size_t i = 1; i < testi.size(); ++i) {
    if (testi[i] == "--help" || testi[i] == "-h") {
      return true;
    }
  }
  return false;
}

namespace {

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

RigaLetta leggi_riga(CLI::App& app, RigaDiComando& riga, const std::string& mancante) {
  bool aiuto = false;
  app.set_help_flag();
  app.add_flag("--help,-h", aiuto);
  try {
    app.parse(riga.argc(), riga.argv());
  } catch (const CLI::ParseError& e) {
    if (riga.chiede_aiuto()) {
      return {true, std::nullopt};
    }
    if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr) {
      return {false, mancante};
    }
    return {false, messaggio_di(e)};
  }
  return {aiuto, std::nullopt};
}
