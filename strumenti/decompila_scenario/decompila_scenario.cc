// decompila_scenario: reads the three binary files of a compiled scenario and writes two source
// texts that compile to the same bytes, after compiling them and comparing the result with the
// files. Exit status 0 when the sources are written and proved, 1 when no pair of sources gives
// these files (nothing is written), 2 for a file that cannot be read or written, or wrong
// arguments.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/nomi_file.h"
#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "platform/cartella_in_uso.h"
#include "strumenti/comune/argomenti.h"
#include "strumenti/decompila_scenario/decompilazione.h"

namespace {

constexpr const char* kProgramma = "decompila_scenario";
using piattaforma::kStatoErrore;  // files that no pair of sources gives
using piattaforma::kStatoGuasto;  // a file that cannot be read or written, wrong arguments

constexpr const char* kUso =
    "uso: decompila_scenario CARTELLA [--scenario NOME --treno NUMERO] [--cartella OUT]\n"
    "     decompila_scenario --help | --version";

constexpr const char* kAiuto = R"(
Legge i tre file binari di uno scenario compilato (NOME_linea.dat, NOME_NUMERO.sim e
NOME_NUMERO.dat nella CARTELLA) e ne ricava le due sorgenti, NOME_linea.txt e
NOME_NUMERO-.txt, che compilate insieme danno gli stessi tre file. Prima di scriverle le
compila e confronta il risultato con i file letti, byte per byte.

  CARTELLA            la cartella dei file binari
  --scenario NOME     il nome dello scenario e il numero del treno, che danno i nomi dei
  --treno NUMERO      file; servono solo se nella cartella c'e' piu' di uno scenario
  --cartella OUT      dove scrivere le sorgenti; se manca, la cartella corrente
  --help, -h          questo aiuto
  --version           il nome e la versione del programma

Stato d'uscita: 0 sorgenti scritte e verificate; 1 nessuna coppia di sorgenti da' questi
file (ogni difetto e' scritto sullo standard error con il file, il byte e la voce, la cella
o il punto, e nulla viene scritto); 2 un file che non si legge o non si scrive, o argomenti
sbagliati.
)";

constexpr PresentazioneStrumento kPresentazione{kProgramma, kUso, kAiuto};

int argomenti_sbagliati(const std::string& messaggio) {
  return argomenti_sbagliati(kPresentazione, messaggio);
}

// The two sources under the builder's names, replaced together, with the folder held.
std::vector<std::string> scrivi_sorgenti(piattaforma::Disco& disco, const std::string& cartella,
                                         const Identita& id, const SorgentiDecompilate& s) {
  const piattaforma::FileDaScrivere sorgenti[] = {
      {nome_file(FileDellaCorsa::sorgente_linea, id), s.linea},
      {nome_file(FileDellaCorsa::sorgente_treno, id), s.treno},
  };
  return piattaforma::scrivi_insieme(disco, cartella, sorgenti);
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments in UTF-8, as the disk takes paths on every system.
  RigaDiComando riga(argc, argv);
  CLI::App app("", kProgramma);
  std::string cartella;
  std::string uscita = ".";
  std::optional<std::string> scenario;
  std::optional<std::string> treno;
  app.add_option("cartella", cartella)->required();
  app.add_option("--scenario", scenario);
  app.add_option("--treno", treno);
  app.add_option("--cartella", uscita);
  const RigaLetta letta = leggi_riga(app, riga, "manca la cartella dei file");
  if (const std::optional<int> stato = risposta_alla_riga(kPresentazione, letta)) {
    return *stato;
  }
  if (scenario.has_value() != treno.has_value()) {
    return argomenti_sbagliati(scenario ? "--scenario senza --treno" : "--treno senza --scenario");
  }

  piattaforma::DiscoReale disco;
  try {
    const auto scelto = scenario_della_cartella(disco, cartella, scenario, treno);
    if (const auto* perche = std::get_if<std::string>(&scelto)) {
      return argomenti_sbagliati(*perche);
    }
    const Identita id = std::get<Identita>(scelto);
    const auto nomi = nomi_binari(id);
    std::array<std::string, kNumeroFileBinari> byte;
    for (size_t f = 0; f < byte.size(); ++f) {
      byte[f] = disco.leggi(disco.percorso_in(cartella, nomi[f]));
    }
    const Decompilazione d =
        decompila(id, byte[kFileTracciato], byte[kFileVoci], byte[kFilePercorso]);
    if (!d.sorgenti) {
      std::cerr << testo_difetti(disco, cartella, id, d.difetti);
      std::cerr << kProgramma << ": nessuna coppia di sorgenti da' questi file; nulla e' scritto\n";
      return kStatoErrore;
    }
    for (const std::string& p : scrivi_sorgenti(disco, uscita, id, *d.sorgenti)) {
      std::cout << "scritto " << p << "\n";
    }
    std::cout << "verificato: le due sorgenti compilate danno gli stessi tre file\n";
    return 0;
  } catch (const piattaforma::ErroreFile& e) {
    std::cerr << kProgramma << ": " << e.what() << "\n";
    return kStatoGuasto;
  }
}
