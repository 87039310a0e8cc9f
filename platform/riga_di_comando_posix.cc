#include "platform/riga_di_comando.h"

namespace piattaforma {

std::vector<std::string> apri_riga_di_comando(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace piattaforma
