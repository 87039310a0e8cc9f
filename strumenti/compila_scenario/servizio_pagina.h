// The live page of a watched compile, served over HTTP to the browsers of the author's own
// machine: the page at "/", and at "/eventi" a stream of Server-Sent Events that carries each
// new state as it is published. Nothing else is served (no file by its path), and only to
// requests that name the server as 127.0.0.1 or localhost with its port, so that a page of
// another site cannot reach it through a name of its own (DNS rebinding). Every connection is
// served asynchronously on the server's one thread: a page that stops reading holds up no
// other, and one that takes no write for 30 seconds is closed. A HEAD is answered as its GET,
// without the body; a request with two Host headers is refused (400).
#pragma once

#include <chrono>
#include <memory>
#include <string>

// How long a request for the page waits for the first one to be published; then it gets a
// page that asks again a moment later.
inline constexpr std::chrono::milliseconds kAttesaPrimaPagina{10000};

class ServizioPagina {
 public:
  // Listens on 127.0.0.1 at `porta` (0: a free port that the system chooses). A port that
  // cannot be taken throws std::runtime_error.
  explicit ServizioPagina(int porta,
                          std::chrono::milliseconds attesa_prima_pagina = kAttesaPrimaPagina);
  // Ends every stream and stops serving.
  ~ServizioPagina();
  ServizioPagina(const ServizioPagina&) = delete;
  ServizioPagina& operator=(const ServizioPagina&) = delete;

  int porta() const;

  // The event (one line of JSON) that every stream gets, also one opened later.
  void pubblica_evento(std::string evento);
  // The page that "/" serves from now on, also to the requests that wait for the first.
  void pubblica_pagina(std::string pagina);

 private:
  struct Stato;
  std::unique_ptr<Stato> stato_;
};
