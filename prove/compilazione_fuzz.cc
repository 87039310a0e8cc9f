// Fuzz target: any bytes, split into a line source and a train source, go through the real
// compile; a property that does not hold, or an exception, is a crash. The compile is the
// function of the two texts, unless FUZZ_DISCO_REALE is set: then it is the builder's run in a
// folder of the real disk, on a memory file system when there is one, since the plan file of a
// long line is large.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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

std::optional<Ambiente> crea_ambiente() {
  if (std::getenv("FUZZ_DISCO_REALE") != nullptr) {
    return Ambiente{std::make_unique<piattaforma::DiscoReale>(), cartella_reale()};
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
  static const std::optional<Ambiente> ambiente = crea_ambiente();
  const std::string_view ingresso(reinterpret_cast<const char*>(dati), dimensione);
  const std::string esito = ambiente ? compila_e_verifica(ingresso, *ambiente->disco,
                                                          ambiente->cartella)
                                     : compila_e_verifica_in_memoria(ingresso);
  if (!esito.empty()) {
    std::fprintf(stderr, "proprieta violata: %s\n", esito.c_str());
    std::abort();
  }
  return 0;
}
