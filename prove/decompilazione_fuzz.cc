// Fuzz target of the decompiler: any bytes, split into a line source and a train source, are
// compiled; when the compile ends without an error code, its three files must decompile into
// two sources that compile to the same bytes. A round trip that fails is a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "prove/andata_e_ritorno.h"
#include "prove/robustezza.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
  const SorgentiDaIngresso s =
      dividi_ingresso(std::string_view(reinterpret_cast<const char*>(dati), dimensione));
  if (!s.treno) {
    return 0;  // without a train source the compile finds none, and ends with an error
  }
  const std::string esito = andata_e_ritorno(s.linea, *s.treno);
  if (!esito.empty()) {
    std::fprintf(stderr, "andata e ritorno fallita: %s\n", esito.c_str());
    std::abort();
  }
  return 0;
}
