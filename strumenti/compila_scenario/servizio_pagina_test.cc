#include "strumenti/compila_scenario/servizio_pagina.h"

#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <map>
#include <string>

namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

// An answer as it came over the wire.
struct Risposta {
  int stato = 0;
  std::map<std::string, std::string> intestazioni;  // names in lower case
  std::string corpo;

  std::string intestazione(const std::string& nome) const {
    const auto i = intestazioni.find(nome);
    return i == intestazioni.end() ? std::string() : i->second;
  }
};

// Sends the bytes of one request on a new connection and reads the answer until the server
// closes its side (each request here asks it to, or is one it closes after).
class Cliente {
 public:
  explicit Cliente(int porta) : socket_(contesto_) {
    socket_.connect(tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"),
                                  static_cast<unsigned short>(porta)));
  }

  void invia(const std::string& richiesta) { asio::write(socket_, asio::buffer(richiesta)); }

  Risposta leggi() {
    std::string testo;
    boost::system::error_code e;
    asio::read(socket_, asio::dynamic_buffer(testo), e);
    EXPECT_EQ(e, asio::error::eof) << e.message();
    Risposta r;
    const size_t fine = testo.find("\r\n\r\n");
    EXPECT_NE(fine, std::string::npos) << testo;
    if (fine == std::string::npos || testo.size() < 12) {
      return r;
    }
    r.stato = std::stoi(testo.substr(9, 3));
    size_t riga = testo.find("\r\n") + 2;
    while (riga < fine) {
      const size_t a = testo.find("\r\n", riga);
      const std::string l = testo.substr(riga, a - riga);
      const size_t due_punti = l.find(':');
      std::string nome = l.substr(0, due_punti);
      for (char& c : nome) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      }
      r.intestazioni[nome] = l.substr(l.find_first_not_of(' ', due_punti + 1));
      riga = a + 2;
    }
    r.corpo = testo.substr(fine + 4);
    return r;
  }

 private:
  asio::io_context contesto_;
  tcp::socket socket_;
};

std::string richiesta(const std::string& metodo, const std::string& percorso,
                      const std::string& intestazioni) {
  return metodo + " " + percorso + " HTTP/1.1\r\n" + intestazioni + "Connection: close\r\n\r\n";
}

Risposta chiedi(int porta, const std::string& testo) {
  Cliente c(porta);
  c.invia(testo);
  return c.leggi();
}

std::string host(const ServizioPagina& s) {
  return "Host: 127.0.0.1:" + std::to_string(s.porta()) + "\r\n";
}

const std::string kPagina = "<!DOCTYPE html>\n<p>la pagina</p>\n";

// A request for the page that comes before the first compile has ended waits for it and gets
// it whole, never an empty page.
TEST(ServizioPagina, LaRichiestaPrimaDellaPrimaPaginaAttendeLaPagina) {
  ServizioPagina s(0);
  Cliente c(s.porta());
  c.invia(richiesta("GET", "/", host(s)));
  s.pubblica_pagina(kPagina);
  const Risposta r = c.leggi();
  EXPECT_EQ(r.stato, 200);
  EXPECT_EQ(r.corpo, kPagina);
  EXPECT_EQ(r.intestazione("content-type"), "text/html; charset=utf-8");
}

// Past the bound, the request gets a page that asks again by itself; the next request after
// the first compile gets the page.
TEST(ServizioPagina, OltreLAttesaUnaPaginaCheSiRicarica) {
  ServizioPagina s(0, std::chrono::milliseconds(0));
  for (const std::string metodo : {"GET", "HEAD"}) {
    SCOPED_TRACE(metodo);
    const Risposta r = chiedi(s.porta(), richiesta(metodo, "/", host(s)));
    EXPECT_EQ(r.stato, 503);
    EXPECT_EQ(r.intestazione("retry-after"), "1");
    EXPECT_EQ(r.intestazione("content-type"), "text/html; charset=utf-8");
    if (metodo == "GET") {
      EXPECT_NE(r.corpo.find("http-equiv=\"refresh\""), std::string::npos) << r.corpo;
    } else {
      EXPECT_EQ(r.corpo, "");
    }
  }
  s.pubblica_pagina(kPagina);
  EXPECT_EQ(chiedi(s.porta(), richiesta("GET", "/", host(s))).corpo, kPagina);
}

// Each HEAD gets what its GET gets, status and headers (the length of the GET's body too),
// and no body.
TEST(ServizioPagina, HeadComeGetSenzaCorpo) {
  ServizioPagina s(0);
  s.pubblica_pagina(kPagina);
  s.pubblica_evento("{\"numero\":1}");
  const std::string altro = "Host: altro.example:" + std::to_string(s.porta()) + "\r\n";
  struct Caso {
    const char* cosa;
    std::string percorso, intestazioni;
    int stato;
  };
  const Caso casi[] = {
      {"la pagina", "/", host(s), 200},
      {"la pagina, con una domanda", "/?x=1", host(s), 200},
      {"un file", "/Tavena_Crostia_linea.txt", host(s), 404},
      {"un Host estraneo", "/", altro, 421},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    const Risposta get = chiedi(s.porta(), richiesta("GET", c.percorso, c.intestazioni));
    const Risposta head = chiedi(s.porta(), richiesta("HEAD", c.percorso, c.intestazioni));
    EXPECT_EQ(get.stato, c.stato);
    EXPECT_EQ(head.stato, get.stato);
    EXPECT_EQ(head.intestazioni, get.intestazioni);
    EXPECT_EQ(head.intestazione("content-length"), std::to_string(get.corpo.size()));
    EXPECT_FALSE(get.corpo.empty());
    EXPECT_EQ(head.corpo, "");
  }
  // The stream's header, and no stream: the server closes as the request asked.
  const Risposta flusso = chiedi(s.porta(), richiesta("HEAD", "/eventi", host(s)));
  EXPECT_EQ(flusso.stato, 200);
  EXPECT_EQ(flusso.intestazione("content-type"), "text/event-stream");
  EXPECT_EQ(flusso.corpo, "");
}

// A request that names the server twice, even as itself both times, is refused and its
// connection closed; a method other than GET and HEAD is not allowed.
TEST(ServizioPagina, RichiesteRifiutate) {
  ServizioPagina s(0);
  s.pubblica_pagina(kPagina);
  const std::string altro = "Host: altro.example\r\n";
  struct Caso {
    const char* cosa;
    std::string testo;
    int stato;
  };
  const Caso casi[] = {
      {"due Host uguali", richiesta("GET", "/", host(s) + host(s)), 400},
      {"due Host, il secondo estraneo", richiesta("GET", "/", host(s) + altro), 400},
      {"due Host, il primo estraneo", richiesta("GET", "/", altro + host(s)), 400},
      {"due Host in un HEAD", richiesta("HEAD", "/", host(s) + host(s)), 400},
      {"due Host su una connessione che resta aperta",
       "GET / HTTP/1.1\r\n" + host(s) + host(s) + "\r\n", 400},
      {"POST", richiesta("POST", "/", host(s) + "Content-Length: 0\r\n"), 405},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    const Risposta r = chiedi(s.porta(), c.testo);
    EXPECT_EQ(r.stato, c.stato);
    EXPECT_EQ(r.corpo.find(kPagina), std::string::npos);
  }
}

}  // namespace
