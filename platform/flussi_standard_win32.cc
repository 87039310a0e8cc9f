#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/flussi_standard.h"

namespace piattaforma {

void flussi_standard_binari() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace piattaforma
