// ispeziona_scenario: reads back the three binary files of a compiled scenario, checks them
// and says what they hold: a summary for a person, everything as JSON, or a page to open in a
// browser; or what changed from the scenario of another folder. Exit status 0 when the files
// hold no fault (with --confronta: when nothing changed), 1 when they do (something changed),
// 2 when a file cannot be read or written or the arguments are wrong.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "strumenti/comune/argomenti.h"
#include "strumenti/ispezione/confronto.h"
#include "strumenti/ispezione/ispezione.h"
#include "strumenti/ispezione/pagina_html.h"
#include "strumenti/ispezione/riepilogo.h"
#include "strumenti/ispeziona_scenario/uscita_json.h"
#include "strumenti/marcia/parametri_autore.h"

namespace {

constexpr const char* kProgramma = "ispeziona_scenario";
using piattaforma::kStatoErrore;  // faults in the files
using piattaforma::kStatoGuasto;  // a file that cannot be read or written, wrong arguments

constexpr const char* kUso =
    "uso: ispeziona_scenario CARTELLA [--scenario NOME --treno NUMERO] [--json] [--html FILE]\n"
    "                          [--confronta ALTRA_CARTELLA]\n"
    "     ispeziona_scenario --help | --version";

constexpr const char* kAiuto = R"(
Legge i tre file binari di uno scenario compilato (NOME_linea.dat, NOME_NUMERO.sim e
NOME_NUMERO.dat nella CARTELLA), li controlla e dice che cosa contengono.

  CARTELLA            la cartella dei file
  --scenario NOME     il nome dello scenario e il numero del treno, che danno i nomi dei
  --treno NUMERO      file; servono solo se nella cartella c'e' piu' di uno scenario
  --json              tutto cio' che e' stato letto, in JSON, al posto del riepilogo
  --html FILE         scrive anche una pagina con la pianta e il profilo della linea e la
                      verifica dell'orario (con i parametri di NOME_marcia.txt, se e'
                      nella CARTELLA)
  --confronta ALTRA   dice che cosa cambia dallo scenario di CARTELLA a quello della
                      cartella ALTRA, per luogo lungo la linea (con --json in JSON)
  --help, -h          questo aiuto
  --version           il nome e la versione del programma

Ogni difetto trovato e' scritto sullo standard error con il file, il byte e la voce, la
cella o il punto. Stato d'uscita: 0 nessun difetto, 1 difetti nei file, 2 un file che non si
legge o non si scrive, o argomenti sbagliati. Con --confronta: 0 nessuna differenza, 1 delle
differenze, 2 come sopra.
)";

constexpr PresentazioneStrumento kPresentazione{kProgramma, kUso, kAiuto};

int argomenti_sbagliati(const std::string& messaggio) {
  return argomenti_sbagliati(kPresentazione, messaggio);
}

void stampa_difetti(piattaforma::Disco& disco, const std::string& cartella, const Ispezione& i) {
  std::cerr << testo_difetti(disco, cartella, i.identita, i.difetti);
}

// The timetable's check of the files read back, for the page: with the parameters of the
// scenario's file when it sits in the folder. None when the files have faults, as a compile
// with an error gives none, or when that file has a bad value, which is printed.
std::optional<Marcia> marcia_dei_file(piattaforma::Disco& disco, const std::string& cartella,
                                      const Ispezione& i) {
  const ParametriAutore p = parametri_autore(
      disco, cartella + "/" + nomi_binari(i.identita)[kFileVoci], i.identita, {});
  for (const Diagnosi& d : p.errori) {
    std::cerr << testo_diagnosi(d, kProgramma);
  }
  if (!i.difetti.empty() || !p.errori.empty()) {
    return std::nullopt;
  }
  return verifica_marcia(i.voci, i.percorso, p.parametri);
}

// What changed from the scenario of `prima` to that of `dopo`.
int confronta_cartelle(piattaforma::Disco& disco, const std::string& prima, const Identita& id_prima,
                       const std::string& dopo, const Identita& id_dopo, bool json) {
  const Ispezione a = ispeziona(disco, prima, id_prima);
  const Ispezione b = ispeziona(disco, dopo, id_dopo);
  stampa_difetti(disco, prima, a);
  stampa_difetti(disco, dopo, b);
  const std::vector<Cambiamento> c = confronta(a, riepiloga(a.tracciato, a.voci, a.percorso), b,
                                               riepiloga(b.tracciato, b.voci, b.percorso));
  if (json) {
    std::cout << json_cambiamenti(c).dump(1, ' ', false,
                                          nlohmann::ordered_json::error_handler_t::replace)
              << "\n";
  } else if (c.empty()) {
    std::cout << "Nessuna differenza fra " << prima << " e " << dopo << ".\n";
  } else {
    std::cout << "Da " << prima << " a " << dopo << ", " << c.size() << " differenze:\n"
              << testo_cambiamenti(c);
  }
  std::cout.flush();
  return c.empty() ? 0 : kStatoErrore;
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
  std::optional<std::string> altra;
  bool json = false;
  app.add_option("cartella", cartella)->required();
  app.add_option("--scenario", scenario);
  app.add_option("--treno", treno);
  app.add_option("--html", pagina);
  app.add_option("--confronta", altra);
  app.add_flag("--json", json);
  const RigaLetta letta = leggi_riga(app, riga, "manca la cartella dei file");
  if (const std::optional<int> stato = risposta_alla_riga(kPresentazione, letta)) {
    return *stato;
  }
  if (scenario.has_value() != treno.has_value()) {
    return argomenti_sbagliati(scenario ? "--scenario senza --treno" : "--treno senza --scenario");
  }

  if (altra && pagina) {
    return argomenti_sbagliati("--confronta non va con --html");
  }

  piattaforma::DiscoReale disco;
  try {
    const auto scelto = scenario_della_cartella(disco, cartella, scenario, treno);
    if (const auto* perche = std::get_if<std::string>(&scelto)) {
      return argomenti_sbagliati(*perche);
    }
    const Identita id = std::get<Identita>(scelto);
    if (altra) {
      const auto altro = scenario_della_cartella(disco, *altra, scenario, treno);
      if (const auto* perche = std::get_if<std::string>(&altro)) {
        return argomenti_sbagliati(*perche);
      }
      return confronta_cartelle(disco, cartella, id, *altra, std::get<Identita>(altro), json);
    }
    const Ispezione ispezione = ispeziona(disco, cartella, id);
    const Riepilogo riepilogo = riepiloga(ispezione.tracciato, ispezione.voci, ispezione.percorso);
    stampa_difetti(disco, cartella, ispezione);
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
      const std::optional<Marcia> marcia = marcia_dei_file(disco, cartella, ispezione);
      disco.ricrea(*pagina, pagina_html(ispezione, riepilogo, marcia ? &*marcia : nullptr));
    }
    std::cout.flush();
    return ispezione.difetti.empty() ? 0 : kStatoErrore;
  } catch (const piattaforma::ErroreFile& e) {
    std::cerr << kProgramma << ": " << e.what() << "\n";
    return kStatoGuasto;
  }
}
