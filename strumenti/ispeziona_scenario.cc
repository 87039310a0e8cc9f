// ispeziona_scenario: reads back the three binary files of a compiled scenario, checks them
// and says what they hold: a summary for a person, everything as JSON, or a page to open in a
// browser. Exit status 0 when the files hold no fault, 1 when they do, 2 when a file cannot
// be read or written or the arguments are wrong.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/disco_reale.h"
#include "strumenti/argomenti.h"
#include "strumenti/ispezione.h"
#include "strumenti/pagina_html.h"
#include "strumenti/riepilogo.h"
#include "strumenti/uscita_json.h"

namespace {

constexpr const char* kProgramma = "ispeziona_scenario";
constexpr int kStatoDifetti = 1;
constexpr int kStatoErrore = 2;

constexpr const char* kUso =
    "uso: ispeziona_scenario CARTELLA [--scenario NOME --treno NUMERO] [--json] [--html FILE]\n"
    "     ispeziona_scenario --help | --version";

constexpr const char* kAiuto = R"(
Legge i tre file binari di uno scenario compilato (NOME_linea.dat, NOME_NUMERO.sim e
NOME_NUMERO.dat nella CARTELLA), li controlla e dice che cosa contengono.

  CARTELLA            la cartella dei file
  --scenario NOME     il nome dello scenario e il numero del treno, che danno i nomi dei
  --treno NUMERO      file; servono solo se nella cartella c'e' piu' di uno scenario
  --json              tutto cio' che e' stato letto, in JSON, al posto del riepilogo
  --html FILE         scrive anche una pagina con la pianta e il profilo della linea
  --help, -h          questo aiuto
  --version           il nome e la versione del programma

Ogni difetto trovato e' scritto sullo standard error con il file, il byte e la voce, la
cella o il punto. Stato d'uscita: 0 nessun difetto, 1 difetti nei file, 2 un file che non si
legge o non si scrive, o argomenti sbagliati.
)";

int argomenti_sbagliati(const std::string& messaggio) {
  std::cerr << kProgramma << ": " << messaggio << "\n" << kUso << "\n";
  return kStatoErrore;
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments in UTF-8, as the disk takes paths on every system.
  RigaDiComando riga(argc, argv);
  CLI::App app("", kProgramma);
  std::string cartella;
  std::optional<std::string> scenario;
  std::optional<std::string> treno;
  std::optional<std::string> pagina;
  bool json = false;
  app.add_option("cartella", cartella)->required();
  app.add_option("--scenario", scenario);
  app.add_option("--treno", treno);
  app.add_option("--html", pagina);
  app.add_flag("--json", json);
  const RigaLetta letta = leggi_riga(app, riga, "manca la cartella dei file");
  if (letta.aiuto) {
    std::cout << kUso << "\n" << kAiuto;
    return 0;
  }
  if (letta.versione) {
    std::cout << *letta.versione << "\n";
    return 0;
  }
  if (letta.errore) {
    return argomenti_sbagliati(*letta.errore);
  }
  if (scenario.has_value() != treno.has_value()) {
    return argomenti_sbagliati(scenario ? "--scenario senza --treno" : "--treno senza --scenario");
  }

  piattaforma::DiscoReale disco;
  try {
    Identita id;
    if (scenario) {
      id = {*scenario, *treno};
    } else {
      const std::vector<Identita> trovati = scenari_completi(disco.elenca(cartella));
      if (trovati.size() != 1) {
        std::string elenco;
        for (const Identita& t : trovati) {
          elenco += (elenco.empty() ? "" : ", ") + t.scenario + " / " + t.treno;
        }
        return argomenti_sbagliati(
            trovati.empty() ? "nessuno scenario completo in " + cartella +
                                  " (servono NOME_linea.dat, NOME_NUMERO.sim e NOME_NUMERO.dat)"
                            : "piu' scenari in " + cartella + " (" + elenco +
                                  "): sceglierne uno con --scenario e --treno");
      }
      id = trovati.front();
    }

    const Ispezione ispezione = ispeziona(disco, cartella, id);
    const Riepilogo riepilogo = riepiloga(ispezione.tracciato, ispezione.voci, ispezione.percorso);
    const auto nomi = nomi_binari(id);
    for (const Difetto& d : ispezione.difetti) {
      std::cerr << disco.percorso_in(cartella, nomi[d.file]) << ": byte " << d.byte << ": "
                << (d.dove.empty() ? "" : d.dove + ": ") << d.descrizione << "\n";
    }
    if (json) {
      std::cout << json_ispezione(ispezione, riepilogo)
                       .dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                << "\n";
    } else {
      std::cout << "Scenario " << id.scenario << ", treno " << id.treno << " (" << cartella << ")\n"
                << testo_riepilogo(riepilogo);
      if (!ispezione.difetti.empty()) {
        std::cout << "\n" << ispezione.difetti.size() << " difetti nei file.\n";
      }
    }
    if (pagina) {
      disco.ricrea(*pagina, pagina_html(ispezione, riepilogo));
    }
    std::cout.flush();
    return ispezione.difetti.empty() ? 0 : kStatoDifetti;
  } catch (const piattaforma::ErroreFile& e) {
    std::cerr << kProgramma << ": " << e.what() << "\n";
    return kStatoErrore;
  }
}
