#include "platform/interruzione.h"

#include <csignal>

namespace piattaforma {

namespace {

volatile std::sig_atomic_t richiesta = 0;

extern "C" void registra(int) {
  richiesta = 1;
}

}  // namespace

void prendi_interruzione() {
  struct sigaction a {};
  a.sa_handler = registra;
  sigemptyset(&a.sa_mask);
  sigaction(SIGINT, &a, nullptr);
  sigaction(SIGTERM, &a, nullptr);
}

bool interruzione_richiesta() {
  return richiesta != 0;
}

}  // namespace piattaforma
