#include "platform/interruzione.h"

#include <windows.h>

#include <atomic>

namespace piattaforma {

namespace {

std::atomic<bool> richiesta{false};

BOOL WINAPI registra(DWORD evento) {
  if (evento == CTRL_C_EVENT || evento == CTRL_BREAK_EVENT || evento == CTRL_CLOSE_EVENT) {
    richiesta = true;
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void prendi_interruzione() {
  SetConsoleCtrlHandler(registra, TRUE);
}

bool interruzione_richiesta() {
  return richiesta;
}

}  // namespace piattaforma
