#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/disco.h"
#include "platform/osservatore_cartelle.h"

namespace piattaforma {

struct OsservatoreCartelle::Stato {
  int fd = -1;
  std::vector<int> osservate;  // the watch of each folder, in the order given
};

OsservatoreCartelle::OsservatoreCartelle(const std::vector<std::string>& cartelle)
    : stato_(std::make_unique<Stato>()) {
  stato_->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (stato_->fd < 0) {
    throw ErroreFile("osservare", cartelle.empty() ? "" : cartelle.front(), std::strerror(errno));
  }
  for (const std::string& c : cartelle) {
    // A save by rename is IN_MOVED_TO; a save in place is IN_CLOSE_WRITE.
    const int w = inotify_add_watch(stato_->fd, c.c_str(),
                                    IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE |
                                        IN_MOVED_FROM);
    if (w < 0) {
      const int codice = errno;
      close(stato_->fd);
      throw ErroreFile("osservare", c, std::strerror(codice));
    }
    stato_->osservate.push_back(w);
  }
}

OsservatoreCartelle::~OsservatoreCartelle() {
  close(stato_->fd);
}

std::vector<FileCambiato> OsservatoreCartelle::attendi(std::chrono::milliseconds limite) {
  std::vector<FileCambiato> cambiati;
  pollfd p{stato_->fd, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(limite.count())) <= 0) {
    return cambiati;  // nothing, or a signal that the caller looks at
  }
  alignas(inotify_event) char memoria[16384];
  for (;;) {
    const ssize_t n = read(stato_->fd, memoria, sizeof memoria);
    if (n <= 0) {
      break;
    }
    for (ssize_t k = 0; k < n;) {
      inotify_event e;
      std::memcpy(&e, memoria + k, sizeof e);
      const char* nome = memoria + k + static_cast<ssize_t>(sizeof e);
      for (size_t c = 0; c < stato_->osservate.size(); ++c) {
        if (stato_->osservate[c] == e.wd && e.len > 0) {
          cambiati.push_back({c, std::string(nome, strnlen(nome, e.len)),
                              (e.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) != 0});
        }
      }
      k += static_cast<ssize_t>(sizeof e + e.len);
    }
  }
  return cambiati;
}

}  // namespace piattaforma
