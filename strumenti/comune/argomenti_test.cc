// The command line of a tool as leggi_riga takes it: --help and --version win over anything
// else the line holds, and a parse error comes back in the tools' words.
#include "strumenti/comune/argomenti.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "generati/versione.h"

namespace {

// The line that the tool named `prova_strumento` prints for --version.
std::string versione_attesa() {
  return "prova_strumento " + std::string(kVersione);
}

struct Caso {
  const char* caso;
  std::vector<std::string> argomenti;  // after the program's name
  bool aiuto;
  bool versione;
  std::optional<std::string> errore;
};

// A tool with a required folder, an option with a value and a flag, as the real tools have.
RigaLetta leggi(const std::vector<std::string>& argomenti) {
  std::vector<std::string> testi = {"/percorso/del/programma"};
  testi.insert(testi.end(), argomenti.begin(), argomenti.end());
  std::vector<char*> puntatori;
  for (std::string& t : testi) {
    puntatori.push_back(t.data());
  }
  RigaDiComando riga(static_cast<int>(puntatori.size()), puntatori.data());
  CLI::App app("", "prova_strumento");
  std::string cartella;
  std::string html;
  bool json = false;
  app.add_option("cartella", cartella)->required();
  app.add_option("--html", html);
  app.add_flag("--json", json);
  return leggi_riga(app, riga, "manca la cartella");
}

TEST(LeggiRiga, AiutoEVersioneVinconoSuTutto) {
  const Caso casi[] = {
      {"riga giusta", {"dir", "--json"}, false, false, std::nullopt},
      {"versione sola", {"--version"}, false, true, std::nullopt},
      {"versione e argomenti", {"dir", "--json", "--version"}, false, true, std::nullopt},
      {"versione senza il richiesto", {"--json", "--version"}, false, true, std::nullopt},
      {"versione e sconosciuta", {"dir", "--veloce", "--version"}, false, true, std::nullopt},
      {"versione e uno in piu'", {"dir", "altro", "--version"}, false, true, std::nullopt},
      {"versione e senza valore", {"dir", "--version", "--html"}, false, true, std::nullopt},
      {"aiuto solo", {"--help"}, true, false, std::nullopt},
      {"aiuto breve", {"dir", "-h"}, true, false, std::nullopt},
      {"aiuto dopo la versione", {"--version", "--help"}, true, false, std::nullopt},
      {"aiuto prima della versione", {"-h", "--version"}, true, false, std::nullopt},
      {"aiuto, versione, errore", {"--veloce", "--version", "--help"}, true, false, std::nullopt},
      {"manca il richiesto", {"--json"}, false, false, "manca la cartella"},
      {"uno in piu'", {"dir", "altro"}, false, false, "argomento in piu': altro"},
      {"versione storpiata", {"dir", "--versione"}, false, false, "argomento in piu': --versione"},
  };
  for (const Caso& c : casi) {
    const RigaLetta letta = leggi(c.argomenti);
    EXPECT_EQ(letta.aiuto, c.aiuto) << c.caso;
    EXPECT_EQ(letta.versione.has_value(), c.versione) << c.caso;
    if (c.versione && letta.versione) {
      EXPECT_EQ(*letta.versione, versione_attesa()) << c.caso;
    }
    EXPECT_EQ(letta.errore, c.errore) << c.caso;
  }
}

TEST(LeggiRiga, LaVersioneEQuellaDelProgetto) {
  const RigaLetta letta = leggi({"--version"});
  ASSERT_TRUE(letta.versione.has_value());
  EXPECT_EQ(*letta.versione, riga_della_versione("prova_strumento"));
  // The form of every version line: name, one space, three numbers.
  EXPECT_TRUE(
      std::regex_match(*letta.versione, std::regex("prova_strumento [0-9]+\\.[0-9]+\\.[0-9]+")))
      << *letta.versione;
}

TEST(LeggiRiga, UnProgrammaSenzaNomeEUnErroreDiChiLoScrive) {
  std::string nome = "programma";
  char* argv[] = {nome.data()};
  RigaDiComando riga(1, argv);
  CLI::App app;
  EXPECT_THROW(leggi_riga(app, riga, "manca"), std::logic_error);
}

}  // namespace
