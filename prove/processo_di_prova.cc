#include "prove/processo_di_prova.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <thread>
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

ProcessoAvviato::ProcessoAvviato(const std::string& eseguibile, int64_t limite_file,
                                 const int* cancello, const std::vector<std::string>& argomenti) {
  // Built before the fork: the child only calls what is safe there.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(eseguibile.c_str()));
  for (const std::string& a : argomenti) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  const int uscita = file_temporaneo(percorso_uscita_);
  const int errori = file_temporaneo(percorso_errori_);
  pid_ = fork();
  if (pid_ < 0) {
    throw std::runtime_error("fork non riuscita");
  }
  if (pid_ == 0) {
    if (cancello != nullptr) {
      close(cancello[1]);
      char c = 0;
      while (read(cancello[0], &c, 1) > 0) {
      }
      close(cancello[0]);
    }
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
}

ProcessoAvviato::~ProcessoAvviato() {
  if (!atteso_) {
    uccidi();
    attendi();
  }
}

void ProcessoAvviato::uccidi() {
  kill(pid_, SIGKILL);
}

EsitoProcesso ProcessoAvviato::attendi() {
  int stato = 0;
  while (waitpid(pid_, &stato, 0) < 0 && errno == EINTR) {
  }
  atteso_ = true;
  EsitoProcesso esito;
  esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
  esito.uscita = leggi_e_elimina(percorso_uscita_);
  esito.errori = leggi_e_elimina(percorso_errori_);
  return esito;
}

EsitoProcesso esegui_processo(const std::string& eseguibile, int64_t limite_file) {
  return ProcessoAvviato(eseguibile, limite_file).attendi();
}

EsitoProcesso esegui_con_argomenti(const std::string& eseguibile,
                                   const std::vector<std::string>& argomenti, int64_t limite_file) {
  return ProcessoAvviato(eseguibile, limite_file, nullptr, argomenti).attendi();
}

std::vector<EsitoProcesso> esegui_insieme(const std::string& eseguibile, int quanti) {
  int tubo[2];
  if (pipe(tubo) != 0) {
    throw std::runtime_error("pipe non creata");
  }
  std::vector<std::unique_ptr<ProcessoAvviato>> figli;
  for (int i = 0; i < quanti; ++i) {
    figli.push_back(std::make_unique<ProcessoAvviato>(eseguibile, -1, tubo));
  }
  // Every child waits on the pipe; closing its writing end releases them all at once.
  close(tubo[0]);
  close(tubo[1]);
  std::vector<EsitoProcesso> esiti;
  for (const auto& figlio : figli) {
    esiti.push_back(figlio->attendi());
  }
  return esiti;
}

EsitoProcesso esegui_e_uccidi(const std::string& eseguibile, std::chrono::microseconds ritardo) {
  ProcessoAvviato figlio(eseguibile);
  std::this_thread::sleep_for(ritardo);
  figlio.uccidi();
  return figlio.attendi();
}

std::string copia_eseguibile_in(const std::string& cartella) {
  const std::filesystem::path copia = std::filesystem::path(cartella) / "genera_scenario";
  std::filesystem::copy_file(GENERA_SCENARIO_ESEGUIBILE, copia);
  return copia.string();
}
