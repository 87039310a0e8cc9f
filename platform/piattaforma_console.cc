// Console implementation: the wait window is one line on standard output, every message a
// line on standard error.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/piattaforma.h"

namespace piattaforma {
namespace {

[[noreturn]] void scrivi_e_termina(const std::string& testo, int stato) {
  std::fprintf(stderr, "%s\n", testo.c_str());
  std::fflush(stderr);
  std::exit(stato);
}

}  // namespace

void scrivi_riga(const std::string& riga) {
  std::fprintf(stdout, "%s\n", riga.c_str());
  std::fflush(stdout);
}

void mostra_attesa() {
  std::fputs("Attendere\n", stdout);
  std::fflush(stdout);
}

void mostra_errore_e_termina(const std::string& messaggio) {
  scrivi_e_termina(messaggio, kStatoErrore);
}

void segnala_problema_e_termina(const std::string& descrizione) {
  scrivi_e_termina(descrizione, kStatoErrore);
}

void segnala_guasto_e_termina(const std::string& descrizione) {
  scrivi_e_termina(descrizione, kStatoGuasto);
}

std::string cartella_eseguibile() {
  std::string percorso(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", percorso.data(), percorso.size());
  if (n < 0 || static_cast<size_t>(n) >= percorso.size()) {
    throw std::runtime_error(std::string("cartella dell'eseguibile non trovata: ") +
                             std::strerror(errno));
  }
  percorso.resize(static_cast<size_t>(n));
  const size_t barra = percorso.rfind('/');
  return barra == 0 ? std::string("/") : percorso.substr(0, barra);
}

}  // namespace piattaforma
