// Writes the built-in sources extended to a given length into a folder, under the built-in
// names, for timing the tools on a long line from outside: scrivi_sorgenti_estese CARTELLA METRI.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/form_load.h"
#include "platform/disco.h"
#include "platform/disco_reale.h"
#include "prove/sorgenti_estese.h"
#include "sources/codifica_1252.h"

int main(int argc, char** argv) {
  int32_t metri = 0;
  const std::string_view testo = argc == 3 ? argv[2] : "";
  const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), metri);
  if (argc != 3 || errore != std::errc() || fine != testo.data() + testo.size()) {
    std::fprintf(stderr, "uso: scrivi_sorgenti_estese CARTELLA METRI\n");
    return 2;
  }
  try {
    Scenario s;
    s.nome_scenario = in_1252(kNomeScenario);
    s.numero_treno = in_1252(kNumeroTreno);
    piattaforma::DiscoReale disco;
    scrivi_sorgenti(disco, s, argv[1], sorgenti_estese(metri));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "scrivi_sorgenti_estese: %s\n", e.what());
    return 1;
  }
  return 0;
}
