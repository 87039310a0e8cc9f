#include "prove/processo_di_prova.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

std::string leggi_e_elimina(const std::string& percorso) {
  std::ifstream f(percorso, std::ios::binary);
  std::string testo((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::remove(percorso.c_str());
  return testo;
}

int file_temporaneo(std::string& percorso) {
  percorso = (std::filesystem::temp_directory_path() / "genera_uscita_XXXXXX").string();
  const int fd = mkstemp(percorso.data());
  if (fd < 0) {
    throw std::runtime_error("file temporaneo non creato");
  }
  return fd;
}

}  // namespace

EsitoProcesso esegui_processo(const std::string& eseguibile, int64_t limite_file) {
  return esegui_con_argomenti(eseguibile, {}, limite_file);
}

EsitoProcesso esegui_con_argomenti(const std::string& eseguibile,
                                   const std::vector<std::string>& argomenti, int64_t limite_file) {
  // Built before the fork: the child only calls what is safe there.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(eseguibile.c_str()));
  for (const std::string& a : argomenti) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  std::string percorso_uscita;
  std::string percorso_errori;
  const int uscita = file_temporaneo(percorso_uscita);
  const int errori = file_temporaneo(percorso_errori);
  const pid_t figlio = fork();
  if (figlio < 0) {
    throw std::runtime_error("fork non riuscita");
  }
  if (figlio == 0) {
    if (limite_file >= 0) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limite{static_cast<rlim_t>(limite_file), static_cast<rlim_t>(limite_file)};
      setrlimit(RLIMIT_FSIZE, &limite);
    }
    dup2(uscita, STDOUT_FILENO);
    dup2(errori, STDERR_FILENO);
    execv(eseguibile.c_str(), argv.data());
    _exit(127);
  }
  close(uscita);
  close(errori);
  int stato = 0;
  waitpid(figlio, &stato, 0);
  EsitoProcesso esito;
  esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
  esito.uscita = leggi_e_elimina(percorso_uscita);
  esito.errori = leggi_e_elimina(percorso_errori);
  return esito;
}

std::string copia_eseguibile_in(const std::string& cartella) {
  const std::filesystem::path copia = std::filesystem::path(cartella) / "genera_scenario";
  std::filesystem::copy_file(GENERA_SCENARIO_ESEGUIBILE, copia);
  return copia.string();
}
