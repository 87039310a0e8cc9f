#include "compiler/errore.h"

void errore(const std::string& a) {
  throw ErroreTerminale(" Errore n. " + a);
}
