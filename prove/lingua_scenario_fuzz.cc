// Fuzz target: any bytes as the language server's input (framing, JSON, every method with any
// parameters), served in its folder of the built-in pair on the disk in memory; an exception,
// or an output that is not framed JSON messages of the protocol, is a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "prove/robustezza_lingua.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
  const std::string esito =
      servi_e_verifica(std::string_view(reinterpret_cast<const char*>(dati), dimensione));
  if (!esito.empty()) {
    std::fprintf(stderr, "proprieta violata: %s\n", esito.c_str());
    std::abort();
  }
  return 0;
}
