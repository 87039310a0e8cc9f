// How a run ends once the compile has returned: its exit status and, for a run that is not a
// success, the one line it reports on standard error.
#pragma once

#include <string>

#include "compiler/esito_compilazione.h"

struct Uscita {
  int stato = 0;
  std::string riga;  // empty for a success
};

// The binary files are written whatever the data held, but a run whose data had a problem,
// or that left no track to write, is not a success: status 1 (piattaforma::kStatoErrore) and
// the problem with its place. Otherwise status 0.
Uscita uscita_della_corsa(const EsitoCompilazione& esito);
