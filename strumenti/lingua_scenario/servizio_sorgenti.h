// The language server for the two source formats: it takes the editor's messages (already
// parsed from their framing) and answers with the messages to send back. It keeps the text of
// every open source, compiles a train source with its line source and a line source with each
// of its train sources (the editor's text when open, the disk's otherwise), and publishes the
// problems of each file for that file. The problems that a change calls for may wait for the
// end of a batch of messages, so that a burst of changes is compiled once, in its last version.
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

  // The answers to one message, in order, then the problems it calls for.
  std::vector<nlohmann::json> ricevi(const nlohmann::json& messaggio);

  // The answers to one message of a batch, in order; the problems that its changes call for
  // wait for pubblica_in_attesa.
  std::vector<nlohmann::json> accogli(const nlohmann::json& messaggio);
  // The problems of every file that changes since the last call touch, each file once and each
  // pair compiled once, from the texts held now.
  std::vector<nlohmann::json> pubblica_in_attesa();

  // The answer to a body that is no JSON.
  static nlohmann::json errore_di_lettura();
  // The answers to a body skipped for its length: an error, and a message for the person.
  static std::vector<nlohmann::json> messaggio_troppo_lungo(size_t byte);

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
  // Marks `uri` to be published at the end of the batch; with `dipendenti`, the files whose
  // compile reads it too (a line source's train sources, a train source's open line source).
  void da_pubblicare(const std::string& uri, bool dipendenti);
  // Whether a text is refused for its length; if so, the problem that says so is published.
  bool rifiuta(const std::string& uri, size_t byte, std::vector<nlohmann::json>& uscita);
  void tieni_versione(const std::string& uri, const nlohmann::json& documento);
  // Whether the file at `percorso` is open.
  bool percorso_aperto(const std::string& percorso) const;
  // The URI the editor knows the file at `percorso` by.
  std::string uri_del_percorso(const std::string& percorso) const;
  nlohmann::json pubblicazione(const std::string& uri, nlohmann::json diagnostiche) const;

  class Giro;

  piattaforma::Disco& disco_;
  DocumentiAperti aperti_;
  // The editor's version of each open document, when it gave one.
  std::map<std::string, int64_t> versioni_;
  // The files to publish at the end of the batch, in the order they were marked, each with
  // whether its dependents are published too.
  std::vector<std::pair<std::string, bool>> in_attesa_;
  // The length of the text refused for each open document whose last change was refused.
  std::map<std::string, size_t> rifiutati_;
  CapacitaCliente cliente_;
  int richieste_al_cliente_ = 0;
  bool iniziato_ = false;
  bool chiuso_ = false;
  bool finito_ = false;
};
