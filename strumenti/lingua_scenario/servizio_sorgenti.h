// The language server for the two source formats: it takes the editor's messages (already
// parsed from their framing) and answers with the messages to send back. It keeps the text of
// every open source, compiles a source with the other of its pair (the editor's text when it
// is open, the disk's otherwise) and publishes the problems of each file for that file.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/compila.h"
#include "platform/disco.h"
#include "strumenti/lingua_scenario/testo_editor.h"

// A source of a compile: its path and its text as the editor counts it (none when missing).
struct Fonte {
  std::string percorso;
  std::shared_ptr<const TestoEditor> testo;
};

class ServizioSorgenti {
 public:
  explicit ServizioSorgenti(piattaforma::Disco& disco) : disco_(disco) {}

  // The answers to one message, in order.
  std::vector<nlohmann::json> ricevi(const nlohmann::json& messaggio);

  // The answer to a body that is no JSON.
  static nlohmann::json errore_di_lettura();

  bool finito() const { return finito_; }
  // 0 when `exit` came after `shutdown`, 1 otherwise.
  int stato_uscita() const { return chiuso_ ? 0 : 1; }

 private:
  struct Aperto {
    std::string percorso;
    std::shared_ptr<const TestoEditor> testo;
  };

  // A compile of the pair a file belongs to, with the names the compile gives its files.
  struct Coppia {
    Fonte linea;
    Fonte treno;
    std::string nome_linea;
    std::string nome_treno;
    Compilazione c;
  };

  std::optional<Fonte> fonte(const std::string& percorso);
  Coppia compila_coppia(const std::string& uri);
  nlohmann::json richiesta(const std::string& metodo, const nlohmann::json& parametri);
  void notifica(const std::string& metodo, const nlohmann::json& parametri,
                std::vector<nlohmann::json>& uscita);
  void pubblica_coppia(const std::string& uri, std::vector<nlohmann::json>& uscita);
  nlohmann::json pubblica(const std::string& uri);
  const Aperto* aperto(const nlohmann::json& parametri) const;

  piattaforma::Disco& disco_;
  std::map<std::string, Aperto> aperti_;  // by URI
  UnitaPosizione unita_ = UnitaPosizione::utf16;
  bool iniziato_ = false;
  bool chiuso_ = false;
  bool finito_ = false;
};
