// What every author tool does with its command line before and after parsing it: the
// arguments in UTF-8 as argv-style pointers, --help and --version, and a parse error said in
// the tools' words.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's arguments in UTF-8 (on Windows read again from the wide command line), with
// the pointers a parser takes; the pointers point into `testi`.
struct RigaDiComando {
  RigaDiComando(int argc, char** argv);
  RigaDiComando(const RigaDiComando&) = delete;
  RigaDiComando& operator=(const RigaDiComando&) = delete;

  int argc() const { return static_cast<int>(puntatori.size()); }
  char** argv() { return puntatori.data(); }
  // Whether --help or -h stands anywhere after the program's name.
  bool chiede_aiuto() const;
  // Whether --version stands anywhere after the program's name.
  bool chiede_versione() const;

  std::vector<std::string> testi;
  std::vector<char*> puntatori;
};

// How a command line was taken: the usage asked for; the version asked for, with the line to
// print (the program's name and the project's version); or a parse error in one line (an
// argument too many, an option without its value, `mancante` for a missing required argument,
// or the parser's own text). With none of them, the program goes on.
struct RigaLetta {
  bool aiuto = false;
  std::optional<std::string> versione;
  std::optional<std::string> errore;
};

// Parses `riga` with `app`, which must carry the program's name, and to which it adds --help,
// -h and --version. --help anywhere asks for the usage whatever else the line holds, even a
// missing required argument; --version, when there is no --help, likewise asks for the
// version.
RigaLetta leggi_riga(CLI::App& app, RigaDiComando& riga, const std::string& mancante);

// How a tool's usage and words go with its name.
struct PresentazioneStrumento {
  std::string_view programma;
  std::string_view uso;    // the usage lines, without their end
  std::string_view aiuto;  // what follows the usage for --help
};

// A parse error said in the tool's words, "programma: messaggio" and the usage, on standard
// error; the status for wrong arguments.
int argomenti_sbagliati(const PresentazioneStrumento& p, const std::string& messaggio);

// What the line asks before the tool's own work: the usage or the version (printed, status 0),
// or a parse error (said, status for wrong arguments). None: the tool goes on.
std::optional<int> risposta_alla_riga(const PresentazioneStrumento& p, const RigaLetta& letta);
