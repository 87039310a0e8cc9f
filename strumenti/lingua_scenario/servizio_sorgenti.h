// The language server for the two source formats: it takes the editor's messages (already
// parsed from their framing) and answers with the messages to send back. It keeps the text of
// every open source, compiles a source with the other of its pair (the editor's text when it
// is open, the disk's otherwise) and publishes the problems of each file for that file.
//
// This is the server's layer: a table from each method to its handler, the lifecycle
// (initialize, shutdown, exit) and the open documents. What a source holds is found by the
// analysis (analisi_sorgente); the messages' shapes are the protocol's (protocollo_lsp).
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disco.h"
#include "strumenti/lingua_scenario/capacita_cliente.h"
#include "strumenti/lingua_scenario/coppia_sorgenti.h"
#include "strumenti/lingua_scenario/testo_editor.h"

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

  using Richiesta = nlohmann::json (ServizioSorgenti::*)(const nlohmann::json& parametri);
  using Notifica = void (ServizioSorgenti::*)(const nlohmann::json& parametri,
                                              std::vector<nlohmann::json>& uscita);

 private:
  // Every method the server answers, and every notification it heeds; any other request is
  // an unknown method, any other notification is ignored.
  static const std::map<std::string_view, Richiesta>& richieste();
  static const std::map<std::string_view, Notifica>& notifiche();

  nlohmann::json inizia(const nlohmann::json& p);
  nlohmann::json chiudi(const nlohmann::json& p);
  nlohmann::json passa_al_simbolo(const nlohmann::json& p);
  nlohmann::json completa(const nlohmann::json& p);
  nlohmann::json mostra_firma(const nlohmann::json& p);
  nlohmann::json descrivi(const nlohmann::json& p);
  nlohmann::json formatta(const nlohmann::json& p);
  nlohmann::json suggerisci(const nlohmann::json& p);
  nlohmann::json correggi(const nlohmann::json& p);

  void esci(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);
  void pronto(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);
  void file_cambiati(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);
  void apri(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);
  void cambia(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);
  void chiudi_documento(const nlohmann::json& p, std::vector<nlohmann::json>& uscita);

  // The open document a request names; an error answer when it is not open.
  const Fonte& aperto(const nlohmann::json& parametri) const;
  // Publishes the problems of `uri`, then of the other open files of its scenario.
  void pubblica_coppia(const std::string& uri, std::vector<nlohmann::json>& uscita);
  nlohmann::json pubblica(const std::string& uri);

  piattaforma::Disco& disco_;
  DocumentiAperti aperti_;
  CapacitaCliente cliente_;
  int richieste_al_cliente_ = 0;
  bool iniziato_ = false;
  bool chiuso_ = false;
  bool finito_ = false;
};
