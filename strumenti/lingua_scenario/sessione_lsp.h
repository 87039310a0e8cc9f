// The server's loop over framed messages: each body parsed and handed to the server, its
// answers framed and written at once. The problems that changes call for are published when no
// further message waits to be read, so that a burst of changes costs one compile, of its last
// version, and none of the versions it replaced.
#pragma once

#include <functional>
#include <istream>
#include <ostream>

#include "strumenti/lingua_scenario/servizio_sorgenti.h"

// Serves `in` until `exit` or the end of the input; `in_attesa` tells whether another message
// can be read at once. Returns the server's exit status.
int servi(std::istream& in, std::ostream& out, ServizioSorgenti& servizio,
          const std::function<bool()>& in_attesa);
