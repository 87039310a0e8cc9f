// Test support: runs a program as a child process and collects what it printed and how it
// ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EsitoProcesso {
  int stato = -1;  // exit status, or 128 + the signal that ended it
  std::string uscita;
  std::string errori;
};

// Runs `eseguibile` with no arguments. A non-negative `limite_file` caps the size of every
// file the child writes (SIGXFSZ ignored, so a write past it fails instead of killing it).
EsitoProcesso esegui_processo(const std::string& eseguibile, int64_t limite_file = -1);

// The same with the given arguments after the program's name.
EsitoProcesso esegui_con_argomenti(const std::string& eseguibile,
                                   const std::vector<std::string>& argomenti,
                                   int64_t limite_file = -1);

// Copies the program under test into `cartella`, where it will write its files; returns the
// copy's path.
std::string copia_eseguibile_in(const std::string& cartella);
