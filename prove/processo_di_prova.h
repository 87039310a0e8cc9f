// Test support: runs a program as a child process and collects what it printed and how it
// ended; several at once, released together; or one killed part way.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct EsitoProcesso {
  int stato = -1;  // exit status, or 128 + the signal that ended it
  std::string uscita;
  std::string errori;
};

// A child process started, with the given arguments after the program's name, and not yet
// waited for.
class ProcessoAvviato {
 public:
  // A non-negative `limite_file` caps the size of every file the child writes (SIGXFSZ
  // ignored, so a write past it fails instead of killing it). A `cancello` is a pipe: the
  // child starts the program only once the pipe's writing end is closed everywhere, so that
  // several children can be released at the same moment.
  explicit ProcessoAvviato(const std::string& eseguibile, int64_t limite_file = -1,
                           const int* cancello = nullptr,
                           const std::vector<std::string>& argomenti = {});
  ~ProcessoAvviato();
  ProcessoAvviato(const ProcessoAvviato&) = delete;
  ProcessoAvviato& operator=(const ProcessoAvviato&) = delete;

  pid_t pid() const { return pid_; }
  // Ends it at once with SIGKILL, wherever it is.
  void uccidi();
  EsitoProcesso attendi();

 private:
  pid_t pid_ = -1;
  bool atteso_ = false;
  std::string percorso_uscita_;
  std::string percorso_errori_;
};

// Runs `eseguibile` to its end.
EsitoProcesso esegui_processo(const std::string& eseguibile, int64_t limite_file = -1);

// The same with the given arguments after the program's name.
EsitoProcesso esegui_con_argomenti(const std::string& eseguibile,
                                   const std::vector<std::string>& argomenti,
                                   int64_t limite_file = -1);

// Starts `quanti` copies of `eseguibile` released at the same moment, and waits for all.
std::vector<EsitoProcesso> esegui_insieme(const std::string& eseguibile, int quanti);

// Starts `eseguibile` and kills it `ritardo` after it was started, unless it ended before.
EsitoProcesso esegui_e_uccidi(const std::string& eseguibile, std::chrono::microseconds ritardo);

// Copies the program under test into `cartella`, where it will write its files; returns the
// copy's path.
std::string copia_eseguibile_in(const std::string& cartella);
