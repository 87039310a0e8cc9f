// Fuzz target: any bytes, split into a line source and a train source, go through the real
// compile; a property that does not hold is a crash. The compile runs on a disk in memory,
// unless FUZZ_DISCO_REALE is set: then it runs in a folder of the real disk, on a memory file
// system when there is one, since the plan file of a long line is large.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/robustezza.h"

namespace {

std::string cartella_reale() {
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

struct Ambiente {
  std::unique_ptr<piattaforma::Disco> disco;
  std::string cartella;
};

Ambiente crea_ambiente() {
  if (std::getenv("FUZZ_DISCO_REALE") != nullptr) {
    return {std::make_unique<piattaforma::DiscoReale>(), cartella_reale()};
  }
  return {std::make_unique<piattaforma::DiscoInMemoria>(), "/fuzz"};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
  static const Ambiente ambiente = crea_ambiente();
  const std::string esito =
      compila_e_verifica(std::string_view(reinterpret_cast<const char*>(dati), dimensione),
                         *ambiente.disco, ambiente.cartella);
  if (!esito.empty()) {
    std::fprintf(stderr, "proprieta violata: %s\n", esito.c_str());
    std::abort();
  }
  return 0;
}
