#include "strumenti/compila_scenario/servizio_pagina.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/chunk_encode.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/serializer.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <chrono>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// A stream that carried nothing for this long gets a comment, so that a page gone is noticed.
constexpr auto kSilenzio = std::chrono::seconds(10);
// A request not read whole in this time, or a write that a page does not take in this time,
// closes its connection: a page that stops reading holds only its own socket.
constexpr auto kLimiteRete = std::chrono::seconds(30);

// The state that the main thread publishes and the server's thread reads.
struct Pubblicato {
  std::mutex mutex;
  uint64_t numero = 0;  // of the state published last, 0 before the first
  std::optional<std::string> pagina;  // none before the first compile has ended
  std::string evento;
};

// What "/" answers when the first compile has not ended within the bound: a page that asks
// again a moment later, so that a browser opened at once ends on the live page by itself.
constexpr std::string_view kPaginaInAttesa =
    "<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\">"
    "<meta http-equiv=\"refresh\" content=\"1\"><title>compila_scenario</title></head>"
    "<body><p>La prima compilazione non e' ancora finita: la pagina si ricarica da se'.</p>"
    "</body></html>\n";

// One open event stream. It lives as long as an operation of its own is pending; every handler
// runs on the server's one thread, so nothing in it needs a lock but what it reads from
// `pubblicato`.
class Flusso : public std::enable_shared_from_this<Flusso> {
 public:
  Flusso(beast::tcp_stream flusso, Pubblicato& pubblicato)
      : flusso_(std::move(flusso)),
        pubblicato_(pubblicato),
        silenzio_(flusso_.get_executor()),
        risposta_(http::status::ok, 11),
        serializzatore_(risposta_) {}

  void inizia() {
    risposta_.set(http::field::content_type, "text/event-stream");
    risposta_.set(http::field::cache_control, "no-store");
    risposta_.chunked(true);
    scrivendo_ = true;
    flusso_.expires_after(kLimiteRete);
    http::async_write_header(flusso_, serializzatore_,
                             [self = shared_from_this()](beast::error_code e, size_t) {
                               self->scritto(e);
                             });
  }

  // A new state was published, or the silence ran out: the stream writes what it has not sent.
  void avvisa() {
    if (scrivendo_ || chiuso_) {
      return;
    }
    {
      std::lock_guard<std::mutex> l(pubblicato_.mutex);
      if (pubblicato_.numero > visto_) {
        visto_ = pubblicato_.numero;
        testo_ = "id: " + std::to_string(visto_) + "\ndata: " + pubblicato_.evento + "\n\n";
      } else if (silenzio_finito_) {
        testo_ = ": nessuna novita'\n\n";
      } else {
        return;
      }
    }
    silenzio_finito_ = false;
    scrivendo_ = true;
    flusso_.expires_after(kLimiteRete);
    asio::async_write(flusso_, http::make_chunk(asio::buffer(testo_)),
                      [self = shared_from_this()](beast::error_code e, size_t) {
                        self->scritto(e);
                      });
  }

 private:
  void scritto(beast::error_code e) {
    scrivendo_ = false;
    if (e) {
      chiudi();
      return;
    }
    flusso_.expires_never();
    attendi_silenzio();
    avvisa();
  }

  void attendi_silenzio() {
    silenzio_.expires_after(kSilenzio);
    silenzio_.async_wait([self = shared_from_this()](beast::error_code e) {
      if (!e) {
        self->silenzio_finito_ = true;
        self->avvisa();
      }
    });
  }

  void chiudi() {
    chiuso_ = true;
    silenzio_.cancel();
    beast::error_code ignorato;
    flusso_.socket().shutdown(tcp::socket::shutdown_both, ignorato);
    flusso_.close();
  }

  beast::tcp_stream flusso_;
  Pubblicato& pubblicato_;
  asio::steady_timer silenzio_;
  http::response<http::empty_body> risposta_;
  http::response_serializer<http::empty_body> serializzatore_;
  std::string testo_;  // the chunk being written
  uint64_t visto_ = 0;
  bool scrivendo_ = false;
  bool silenzio_finito_ = false;
  bool chiuso_ = false;
};

class Connessione;

// What the connections share, on the server's thread.
struct Condiviso {
  int porta = 0;
  std::chrono::milliseconds attesa_prima_pagina{0};
  Pubblicato pubblicato;
  // The open streams, and the requests for the page that wait for the first compile: touched
  // only on the server's thread.
  std::vector<std::weak_ptr<Flusso>> flussi;
  std::vector<std::weak_ptr<Connessione>> in_attesa;

  // Whether `host` names this server: the loopback address or localhost, with its port.
  bool per_noi(std::string_view host) const {
    const std::string p = ":" + std::to_string(porta);
    return host == "127.0.0.1" + p || host == "localhost" + p;
  }

  void avvisa_flussi() {
    for (const auto& w : flussi) {
      if (auto f = w.lock()) {
        f->avvisa();
      }
    }
  }

  void servi_in_attesa();
};

// One connection until it asks for the event stream or closes: requests read one after another,
// each answered. A HEAD is answered as its GET would be, without the body.
class Connessione : public std::enable_shared_from_this<Connessione> {
 public:
  Connessione(tcp::socket socket, Condiviso& stato)
      : flusso_(std::move(socket)), stato_(stato), attesa_(flusso_.get_executor()) {}

  void leggi() {
    richiesta_ = {};
    flusso_.expires_after(kLimiteRete);
    http::async_read(flusso_, memoria_, richiesta_,
                     [self = shared_from_this()](beast::error_code e, size_t) {
                       if (!e) {
                         self->rispondi();
                       }
                     });
  }

  // The first page is there: a request held for it gets it now.
  void pagina_pronta() {
    if (in_attesa_) {
      servi_pagina(false);
    }
  }

 private:
  void rispondi();
  void servi_pagina(bool scaduta);

  using Risposta = http::response<http::string_body>;

  Risposta risposta(http::status stato, std::string_view tipo, std::string corpo) const {
    Risposta r(stato, richiesta_.version());
    r.set(http::field::content_type, tipo);
    r.set(http::field::cache_control, "no-store");
    r.keep_alive(richiesta_.keep_alive());
    r.body() = std::move(corpo);
    r.prepare_payload();
    return r;
  }

  void scrivi(http::status stato, std::string_view tipo, std::string corpo) {
    scrivi(risposta(stato, tipo, std::move(corpo)));
  }

  // Writes the answer, only its header for a HEAD, then reads the next request or ends.
  void scrivi(Risposta r) {
    struct Invio {
      explicit Invio(Risposta r) : risposta(std::move(r)), serializzatore(risposta) {}
      Risposta risposta;
      http::response_serializer<http::string_body> serializzatore;
    };
    auto invio = std::make_shared<Invio>(std::move(r));
    auto fatto = [self = shared_from_this(), invio](beast::error_code e, size_t) {
      if (e) {
        return;
      }
      if (invio->risposta.keep_alive()) {
        self->leggi();
      } else {
        beast::error_code ignorato;
        self->flusso_.socket().shutdown(tcp::socket::shutdown_send, ignorato);
      }
    };
    flusso_.expires_after(kLimiteRete);
    if (richiesta_.method() == http::verb::head) {
      http::async_write_header(flusso_, invio->serializzatore, std::move(fatto));
    } else {
      http::async_write(flusso_, invio->serializzatore, std::move(fatto));
    }
  }

  beast::tcp_stream flusso_;
  Condiviso& stato_;
  asio::steady_timer attesa_;  // the bound on waiting for the first page
  bool in_attesa_ = false;
  beast::flat_buffer memoria_;
  http::request<http::empty_body> richiesta_;
};

void Condiviso::servi_in_attesa() {
  for (const auto& w : in_attesa) {
    if (auto c = w.lock()) {
      c->pagina_pronta();
    }
  }
  in_attesa.clear();
}

void Connessione::rispondi() {
  constexpr std::string_view testo = "text/plain; charset=utf-8";
  if (richiesta_.count(http::field::host) > 1) {
    // Which of the two names the server is a guess that a proxy and this server could make
    // differently: the request is refused, and the connection with it.
    Risposta r = risposta(http::status::bad_request, testo, "due intestazioni Host\n");
    r.keep_alive(false);
    scrivi(std::move(r));
    return;
  }
  if (!stato_.per_noi(richiesta_[http::field::host])) {
    scrivi(http::status::misdirected_request, testo, "richiesta per un altro server\n");
    return;
  }
  // The path without its query, as a browser may add one.
  std::string_view percorso = richiesta_.target();
  percorso = percorso.substr(0, percorso.find('?'));
  if (percorso != "/" && percorso != "/eventi") {
    scrivi(http::status::not_found, testo, "non trovato\n");
    return;
  }
  if (richiesta_.method() != http::verb::get && richiesta_.method() != http::verb::head) {
    Risposta r = risposta(http::status::method_not_allowed, testo, "solo GET e HEAD\n");
    r.set(http::field::allow, "GET, HEAD");
    scrivi(std::move(r));
    return;
  }
  if (percorso == "/") {
    servi_pagina(false);
    return;
  }
  if (richiesta_.method() == http::verb::head) {
    // The stream's header, as a GET gets it, and no stream.
    Risposta r(http::status::ok, richiesta_.version());
    r.set(http::field::content_type, "text/event-stream");
    r.set(http::field::cache_control, "no-store");
    r.keep_alive(richiesta_.keep_alive());
    r.chunked(true);
    scrivi(std::move(r));
    return;
  }
  auto f = std::make_shared<Flusso>(std::move(flusso_), stato_.pubblicato);
  std::erase_if(stato_.flussi, [](const std::weak_ptr<Flusso>& w) { return w.expired(); });
  stato_.flussi.push_back(f);
  f->inizia();
}

// The page once the first compile has ended. Before that the request waits for it, as long as
// the bound, and then gets the page that asks again.
void Connessione::servi_pagina(bool scaduta) {
  std::optional<std::string> pagina;
  {
    std::lock_guard<std::mutex> l(stato_.pubblicato.mutex);
    pagina = stato_.pubblicato.pagina;
  }
  if (pagina || scaduta) {
    in_attesa_ = false;
    attesa_.cancel();
    if (pagina) {
      scrivi(http::status::ok, "text/html; charset=utf-8", std::move(*pagina));
    } else {
      Risposta r = risposta(http::status::service_unavailable, "text/html; charset=utf-8",
                            std::string(kPaginaInAttesa));
      r.set(http::field::retry_after, "1");
      scrivi(std::move(r));
    }
    return;
  }
  in_attesa_ = true;
  stato_.in_attesa.push_back(weak_from_this());
  attesa_.expires_after(stato_.attesa_prima_pagina);
  attesa_.async_wait([self = shared_from_this()](beast::error_code e) {
    if (!e && self->in_attesa_) {
      self->servi_pagina(true);
    }
  });
}

}  // namespace

struct ServizioPagina::Stato {
  // Declared first, so destroyed last: the pending operations it drops hold the rest.
  asio::io_context contesto{1};
  tcp::acceptor accettore{contesto};
  std::thread servitore;
  Condiviso condiviso;

  void accetta();
};

void ServizioPagina::Stato::accetta() {
  accettore.async_accept([this](beast::error_code e, tcp::socket socket) {
    if (e == asio::error::operation_aborted || !accettore.is_open()) {
      return;
    }
    if (!e) {
      std::make_shared<Connessione>(std::move(socket), condiviso)->leggi();
    }
    accetta();
  });
}

ServizioPagina::ServizioPagina(int porta, std::chrono::milliseconds attesa_prima_pagina)
    : stato_(std::make_unique<Stato>()) {
  Stato& s = *stato_;
  s.condiviso.attesa_prima_pagina = attesa_prima_pagina;
  if (porta < 0 || porta > 65535) {
    throw std::runtime_error("la porta " + std::to_string(porta) + " non si puo' usare");
  }
  const tcp::endpoint dove(asio::ip::make_address_v4("127.0.0.1"),
                           static_cast<unsigned short>(porta));
  beast::error_code e;
  s.accettore.open(dove.protocol(), e);
#ifndef _WIN32
  // A port left in TIME_WAIT by the last run can be taken again at once. On Windows the same
  // option would let another program take a port in use, so it is not set there.
  if (!e) {
    s.accettore.set_option(tcp::acceptor::reuse_address(true), e);
  }
#endif
  if (!e) {
    s.accettore.bind(dove, e);
  }
  if (!e) {
    s.accettore.listen(asio::socket_base::max_listen_connections, e);
  }
  if (e) {
    throw std::runtime_error(porta == 0 ? "nessuna porta libera"
                                        : "la porta " + std::to_string(porta) +
                                              " non si puo' usare");
  }
  s.condiviso.porta = s.accettore.local_endpoint().port();
  s.accetta();
  s.servitore = std::thread([&s] { s.contesto.run(); });
}

ServizioPagina::~ServizioPagina() {
  // Every pending operation is dropped with the context: each stream's socket is closed as its
  // connection object goes.
  stato_->contesto.stop();
  if (stato_->servitore.joinable()) {
    stato_->servitore.join();
  }
}

int ServizioPagina::porta() const {
  return stato_->condiviso.porta;
}

void ServizioPagina::pubblica_evento(std::string evento) {
  {
    std::lock_guard<std::mutex> l(stato_->condiviso.pubblicato.mutex);
    stato_->condiviso.pubblicato.evento = std::move(evento);
    ++stato_->condiviso.pubblicato.numero;
  }
  asio::post(stato_->contesto, [c = &stato_->condiviso] { c->avvisa_flussi(); });
}

void ServizioPagina::pubblica_pagina(std::string pagina) {
  {
    std::lock_guard<std::mutex> l(stato_->condiviso.pubblicato.mutex);
    stato_->condiviso.pubblicato.pagina = std::move(pagina);
  }
  asio::post(stato_->contesto, [c = &stato_->condiviso] { c->servi_in_attesa(); });
}
