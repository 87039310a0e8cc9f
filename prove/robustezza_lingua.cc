#include "prove/robustezza_lingua.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/form_load.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"
#include "strumenti/lingua_scenario/canale_lsp.h"
#include "strumenti/lingua_scenario/servizio_sorgenti.h"
#include "strumenti/lingua_scenario/sessione_lsp.h"

namespace {

piattaforma::DiscoInMemoria& disco_con_la_coppia() {
  static piattaforma::DiscoInMemoria disco = [] {
    piattaforma::DiscoInMemoria d;
    const Identita id{kNomeScenario, kNumeroTreno};
    const std::string cartella = kCartellaLingua;
    d.file[cartella + "/" + nome_file(FileDellaCorsa::sorgente_linea, id)] =
        testo_delle_righe(dati_linea());
    d.file[cartella + "/" + nome_file(FileDellaCorsa::sorgente_treno, id)] =
        testo_delle_righe(dati_treno());
    return d;
  }();
  return disco;
}

}  // namespace

std::string verifica_messaggio_scritto(const nlohmann::json& m) {
  if (!m.is_object() || m.value("jsonrpc", "") != "2.0") {
    return "messaggio senza jsonrpc 2.0: " + m.dump();
  }
  const bool risultato = m.contains("result");
  const bool errore = m.contains("error");
  const bool metodo = m.contains("method");
  if (m.contains("id") && metodo) {
    // A request of the server to the client.
    if (!m["method"].is_string() || risultato || errore) {
      return "richiesta al cliente malformata: " + m.dump();
    }
    return {};
  }
  if (m.contains("id")) {
    if (risultato == errore) {
      return "risposta senza risultato o errore, o con entrambi: " + m.dump();
    }
    if (errore && (!m["error"].contains("code") || !m["error"]["code"].is_number_integer())) {
      return "errore senza codice: " + m.dump();
    }
    return {};
  }
  if (!metodo || !m["method"].is_string() || risultato || errore) {
    return "notifica senza metodo: " + m.dump();
  }
  const auto p = m.find("params");
  if (m["method"] == "textDocument/publishDiagnostics" &&
      (p == m.end() || !p->is_object() || !p->contains("uri") || !p->at("uri").is_string() ||
       !p->contains("diagnostics") || !p->at("diagnostics").is_array())) {
    return "pubblicazione malformata: " + m.dump();
  }
  return {};
}

std::string servi_e_verifica(std::string_view ingresso) {
  std::istringstream in{std::string(ingresso)};
  std::ostringstream out;
  try {
    ServizioSorgenti servizio(disco_con_la_coppia());
    int messaggi = 0;
    const int stato =
        servi(in, out, servizio, [&] { return altro_in_attesa(in) && ++messaggi % 3 != 0; });
    if (stato != 0 && stato != 1) {
      return "stato d'uscita " + std::to_string(stato);
    }
  } catch (const std::exception& e) {
    return std::string("eccezione: ") + e.what();
  }
  std::istringstream scritto(out.str());
  while (const std::optional<MessaggioLetto> m = leggi_messaggio(scritto)) {
    if (!m->corpo) {
      return "messaggio scritto senza lunghezza";
    }
    const nlohmann::json j = nlohmann::json::parse(*m->corpo, nullptr, false);
    if (j.is_discarded()) {
      return "messaggio scritto che non e' JSON: " + m->corpo->substr(0, 200);
    }
    if (std::string e = verifica_messaggio_scritto(j); !e.empty()) {
      return e.substr(0, 400);
    }
  }
  return {};
}
