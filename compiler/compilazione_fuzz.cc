// Fuzz target: any bytes, split into a line source and a train source, go through the real
// compile in a folder of their own; a property that does not hold is a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "compiler/robustezza.h"

namespace {

// A folder on a memory file system when there is one: the plan file of a long line is large.
std::string cartella_di_lavoro() {
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                         ? "/dev/shm"
                                         : std::filesystem::temp_directory_path();
  std::string modello = (base / "compilazione_fuzz_XXXXXX").string();
  if (mkdtemp(modello.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  return modello;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
  static const std::string cartella = cartella_di_lavoro();
  const std::string esito = compila_e_verifica(
      std::string_view(reinterpret_cast<const char*>(dati), dimensione), cartella);
  if (!esito.empty()) {
    std::fprintf(stderr, "proprieta violata: %s\n", esito.c_str());
    std::abort();
  }
  return 0;
}
