// The real disk on a POSIX system: every operation is one or a few system calls, and every
// failure carries the system's own reason.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"

namespace piattaforma {
namespace {

[[noreturn]] void fallisci(const char* operazione, const std::string& percorso, int codice) {
  throw ErroreFile(operazione, percorso, std::strerror(codice));
}

// A descriptor closed when it goes out of scope, for the paths that leave by a failure.
class Descrittore {
 public:
  explicit Descrittore(int fd) : fd_(fd) {}
  ~Descrittore() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descrittore(const Descrittore&) = delete;
  Descrittore& operator=(const Descrittore&) = delete;

  int get() const { return fd_; }
  // Closes it now and gives close's own result, where a delayed write failure shows up.
  int chiudi() {
    const int esito = ::close(fd_);
    fd_ = -1;
    return esito;
  }

 private:
  int fd_;
};

int apri(const std::string& percorso, int modo, mode_t permessi = 0) {
  int fd = -1;
  do {
    fd = ::open(percorso.c_str(), modo | O_CLOEXEC, permessi);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

class BloccoFlock : public BloccoCartella {
 public:
  explicit BloccoFlock(int fd) : fd_(fd) {}
  // Closing the folder's descriptor frees the lock; so does the end of the process.
  ~BloccoFlock() override = default;

 private:
  Descrittore fd_;
};

}  // namespace

bool DiscoReale::esiste(const std::string& percorso) {
  struct stat info {};
  return ::stat(percorso.c_str(), &info) == 0;
}

std::string DiscoReale::leggi(const std::string& percorso) {
  Descrittore f(apri(percorso, O_RDONLY));
  if (f.get() < 0) {
    fallisci("aprire", percorso, errno);
  }
  std::string contenuto;
  struct stat info {};
  if (::fstat(f.get(), &info) == 0 && info.st_size > 0) {
    contenuto.reserve(static_cast<size_t>(info.st_size));
  }
  char blocco[65536];
  for (;;) {
    const ssize_t letti = ::read(f.get(), blocco, sizeof blocco);
    if (letti < 0) {
      if (errno == EINTR) {
        continue;
      }
      fallisci("leggere", percorso, errno);
    }
    if (letti == 0) {
      break;
    }
    contenuto.append(blocco, static_cast<size_t>(letti));
  }
  return contenuto;
}

void DiscoReale::elimina(const std::string& percorso) {
  if (::unlink(percorso.c_str()) != 0) {
    fallisci("eliminare", percorso, errno);
  }
}

void DiscoReale::scrivi_nuovo(const std::string& percorso, std::string_view contenuto) {
  Descrittore f(apri(percorso, O_WRONLY | O_CREAT | O_EXCL, 0666));
  if (f.get() < 0) {
    fallisci("creare", percorso, errno);
  }
  size_t scritti = 0;
  while (scritti < contenuto.size()) {
    const ssize_t n = ::write(f.get(), contenuto.data() + scritti, contenuto.size() - scritti);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      fallisci("scrivere", percorso, errno);
    }
    scritti += static_cast<size_t>(n);
  }
  if (f.chiudi() != 0) {
    fallisci("scrivere", percorso, errno);
  }
}

void DiscoReale::rinomina(const std::string& da, const std::string& a) {
  if (std::rename(da.c_str(), a.c_str()) != 0) {
    fallisci("sostituire", a, errno);
  }
}

void DiscoReale::collega(const std::string& esistente, const std::string& nuovo) {
  if (::link(esistente.c_str(), nuovo.c_str()) == 0) {
    return;
  }
  // A file system without hard links (or any other refusal): a copy serves as well, and its
  // own failure says what is wrong.
  scrivi_nuovo(nuovo, leggi(esistente));
}

std::vector<std::string> DiscoReale::elenca(const std::string& cartella) {
  DIR* d = ::opendir(cartella.c_str());
  if (d == nullptr) {
    fallisci("elencare", cartella, errno);
  }
  std::vector<std::string> nomi;
  for (;;) {
    errno = 0;
    const dirent* voce = ::readdir(d);
    if (voce == nullptr) {
      break;
    }
    const std::string nome = voce->d_name;
    struct stat dati {};
    if (nome != "." && nome != ".." && ::stat((cartella + "/" + nome).c_str(), &dati) == 0 &&
        S_ISREG(dati.st_mode)) {
      nomi.push_back(nome);
    }
    errno = 0;
  }
  const int codice = errno;
  ::closedir(d);
  if (codice != 0) {
    fallisci("elencare", cartella, codice);
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::unique_ptr<BloccoCartella> DiscoReale::blocca(const std::string& cartella) {
  // The lock lies on the folder itself, opened for reading: it needs no file of its own, and
  // the system frees it with the descriptor when the process ends, however it ends.
  const int fd = apri(cartella, O_RDONLY | O_DIRECTORY);
  if (fd < 0) {
    fallisci("bloccare", cartella, errno);
  }
  auto blocco = std::make_unique<BloccoFlock>(fd);
  int esito = 0;
  do {
    esito = ::flock(fd, LOCK_EX);
  } while (esito != 0 && errno == EINTR);
  if (esito != 0) {
    fallisci("bloccare", cartella, errno);
  }
  return blocco;
}

char DiscoReale::separatore() const {
  return '/';
}

uint64_t DiscoReale::numero_processo() const {
  return static_cast<uint64_t>(::getpid());
}

}  // namespace piattaforma
