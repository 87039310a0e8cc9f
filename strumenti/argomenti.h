// What both author tools do with their command line before and after parsing it: the
// arguments in UTF-8 as argv-style pointers, and a parse error said in the tools' words.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
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

  std::vector<std::string> testi;
  std::vector<char*> puntatori;
};

// How a command line was taken: the usage asked for, or a parse error in one line (an argument
// too many, an option without its value, `mancante` for a missing required argument, or the
// parser's own text); with neither, the program goes on.
struct RigaLetta {
  bool aiuto = false;
  std::optional<std::string> errore;
};

// Parses `riga` with `app`, to which it adds --help and -h. --help anywhere asks for the usage
// whatever else the line holds, even a missing required argument.
RigaLetta leggi_riga(CLI::App& app, RigaDiComando& riga, const std::string& mancante);
