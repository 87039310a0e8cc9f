#include "compiler/sorgenti_da_leggere.h"

namespace {

constexpr const char* kAssente = "file assente";

}  // namespace

bool SorgentiInMemoria::esiste(Sorgente s) {
  return testo(s).has_value();
}

std::string SorgentiInMemoria::leggi(Sorgente s) {
  const std::optional<std::string_view>& t = testo(s);
  if (!t) {
    throw ErroreSorgente("aprire", kAssente);
  }
  return std::string(*t);
}

void SorgentiInMemoria::elimina(Sorgente s) {
  if (!testo(s)) {
    throw ErroreSorgente("eliminare", kAssente);
  }
  elimina_se_esiste(s);
}

void SorgentiInMemoria::elimina_se_esiste(Sorgente s) {
  if (!testo(s)) {
    return;
  }
  testo(s).reset();
  (s == Sorgente::linea ? linea_eliminata_ : treno_eliminato_) = true;
}

bool SorgentiInMemoria::eliminata(Sorgente s) const {
  return s == Sorgente::linea ? linea_eliminata_ : treno_eliminato_;
}
