// The language server of the two source formats, over standard input and output. Its one
// argument, when it is --version, asks for its version instead; any other command line (an
// editor's client may add --stdio) starts the server.
#include <iostream>

#include "generati/versione.h"
#include "platform/disco_reale.h"
#include "platform/flussi_standard.h"
#include "strumenti/lingua_scenario/canale_lsp.h"
#include "strumenti/lingua_scenario/servizio_sorgenti.h"
#include "strumenti/lingua_scenario/sessione_lsp.h"

int main(int argc, char** argv) {
  if (chiede_solo_la_versione(argc, argv)) {
    std::cout << riga_della_versione("lingua_scenario") << "\n";
    return 0;
  }
  piattaforma::flussi_standard_binari();
  std::ios::sync_with_stdio(false);
  piattaforma::DiscoReale disco;
  ServizioSorgenti servizio(disco);
  return servi(std::cin, std::cout, servizio, [] { return altro_in_attesa(std::cin); });
}
