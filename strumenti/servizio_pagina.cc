#include "strumenti/servizio_pagina.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Streams held open at once, each by a thread; more wait for a free one.
constexpr size_t kFili = 64;
// A stream that carried nothing for this long gets a comment, so that a page gone is noticed.
constexpr auto kSilenzio = std::chrono::seconds(10);

}  // namespace

struct ServizioPagina::Stato {
  httplib::Server server;
  std::thread servitore;
  int porta = 0;

  std::mutex mutex;
  std::condition_variable nuovo;
  uint64_t numero = 0;  // of the state published last, 0 before the first
  std::string pagina;
  std::string evento;
  bool chiuso = false;

  // Whether `host` names this server: the loopback address or localhost, with its port.
  bool per_noi(const std::string& host) const {
    const std::string p = ":" + std::to_string(porta);
    return host == "127.0.0.1" + p || host == "localhost" + p;
  }
};

ServizioPagina::ServizioPagina(int porta) : stato_(std::make_unique<Stato>()) {
  Stato& s = *stato_;
  s.server.new_task_queue = [] { return new httplib::ThreadPool(kFili); };
  s.server.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
    if (!s.per_noi(req.get_header_value("Host"))) {
      res.status = 421;
      res.set_content("richiesta per un altro server\n", "text/plain; charset=utf-8");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  s.server.Get("/", [&s](const httplib::Request&, httplib::Response& res) {
    std::string pagina;
    {
      std::lock_guard<std::mutex> l(s.mutex);
      pagina = s.pagina;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_content(pagina, "text/html; charset=utf-8");
  });
  s.server.Get("/eventi", [&s](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    auto visto = std::make_shared<uint64_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream", [&s, visto](size_t, httplib::DataSink& sink) {
          std::string testo;
          {
            std::unique_lock<std::mutex> l(s.mutex);
            s.nuovo.wait_for(l, kSilenzio, [&] { return s.chiuso || s.numero > *visto; });
            if (s.chiuso) {
              return false;
            }
            if (s.numero > *visto) {
              *visto = s.numero;
              testo = "id: " + std::to_string(s.numero) + "\ndata: " + s.evento + "\n\n";
            } else {
              testo = ": nessuna novita'\n\n";
            }
          }
          return sink.write(testo.data(), testo.size());
        });
  });
  if (porta == 0) {
    s.porta = s.server.bind_to_any_port("127.0.0.1");
  } else if (s.server.bind_to_port("127.0.0.1", porta)) {
    s.porta = porta;
  } else {
    s.porta = -1;
  }
  if (s.porta < 0) {
    throw std::runtime_error(porta == 0 ? "nessuna porta libera"
                                        : "la porta " + std::to_string(porta) +
                                              " non si puo' usare");
  }
  s.servitore = std::thread([&s] { s.server.listen_after_bind(); });
}

ServizioPagina::~ServizioPagina() {
  {
    std::lock_guard<std::mutex> l(stato_->mutex);
    stato_->chiuso = true;
  }
  stato_->nuovo.notify_all();
  stato_->server.stop();
  if (stato_->servitore.joinable()) {
    stato_->servitore.join();
  }
}

int ServizioPagina::porta() const {
  return stato_->porta;
}

void ServizioPagina::pubblica(std::string pagina, std::string evento) {
  {
    std::lock_guard<std::mutex> l(stato_->mutex);
    stato_->pagina = std::move(pagina);
    stato_->evento = std::move(evento);
    ++stato_->numero;
  }
  stato_->nuovo.notify_all();
}
