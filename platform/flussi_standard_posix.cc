#include "platform/flussi_standard.h"

namespace piattaforma {

// POSIX streams are bytes already.
void flussi_standard_binari() {}

}  // namespace piattaforma
