// What both author tools do with their command line before and after parsing it: the
// arguments in UTF-8 as argv-style pointers, and a parse error said in the tools' words.
#pragma once

#include <CLI/CLI.hpp>
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

// A parse error in one line: an argument too many, an option without its value, or the
// parser's own text.
std::string messaggio_di(const CLI::ParseError& e);
