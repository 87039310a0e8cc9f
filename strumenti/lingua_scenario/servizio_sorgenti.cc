#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include "strumenti/lingua_scenario/analisi_sorgente.h"
#include "strumenti/lingua_scenario/protocollo_lsp.h"

using nlohmann::json;

const std::map<std::string_view, ServizioSorgenti::Richiesta>& ServizioSorgenti::richieste() {
  static const std::map<std::string_view, Richiesta> kRichieste = {
      {"initialize", &ServizioSorgenti::inizia},
      {"shutdown", &ServizioSorgenti::chiudi},
      {"textDocument/documentSymbol", &ServizioSorgenti::passa_al_simbolo},
      {"textDocument/completion", &ServizioSorgenti::completa},
      {"textDocument/signatureHelp", &ServizioSorgenti::mostra_firma},
      {"textDocument/hover", &ServizioSorgenti::descrivi},
      {"textDocument/formatting", &ServizioSorgenti::formatta},
  };
  return kRichieste;
}

const std::map<std::string_view, ServizioSorgenti::Notifica>& ServizioSorgenti::notifiche() {
  static const std::map<std::string_view, Notifica> kNotifiche = {
      {"exit", &ServizioSorgenti::esci},
      {"textDocument/didOpen", &ServizioSorgenti::apri},
      {"textDocument/didChange", &ServizioSorgenti::cambia},
      {"textDocument/didClose", &ServizioSorgenti::chiudi_documento},
  };
  return kNotifiche;
}

json ServizioSorgenti::errore_di_lettura() {
  return risposta_di_errore(nullptr, kJsonNonValido, "messaggio che non e' JSON");
}

std::vector<json> ServizioSorgenti::ricevi(const json& m) {
  std::vector<json> uscita;
  if (!m.is_object() || !m.contains("method") || !m["method"].is_string()) {
    if (m.is_object() && m.contains("id") && !m.contains("result") && !m.contains("error")) {
      uscita.push_back(risposta_di_errore(m["id"], kRichiestaNonValida, "richiesta senza metodo"));
    } else if (!m.is_object()) {
      uscita.push_back(
          risposta_di_errore(nullptr, kRichiestaNonValida, "messaggio che non e' un oggetto"));
    }
    return uscita;
  }
  const std::string metodo = m["method"];
  const json parametri = m.value("params", json::object());
  if (!m.contains("id")) {
    const auto n = notifiche().find(metodo);
    // Only `exit` is heeded before `initialize` or after `shutdown`.
    if (n == notifiche().end() || (metodo != "exit" && (!iniziato_ || chiuso_))) {
      return uscita;
    }
    try {
      (this->*(n->second))(parametri, uscita);
    } catch (const json::exception&) {
      // A notification with parameters of the wrong shape has nobody to answer: ignored.
    } catch (const ErroreRichiesta&) {
    }
    return uscita;
  }
  const json& id = m["id"];
  try {
    if (!iniziato_ && metodo != "initialize") {
      throw ErroreRichiesta(kNonIniziato, "server non ancora iniziato");
    }
    if (chiuso_) {
      throw ErroreRichiesta(kRichiestaNonValida, "server chiuso");
    }
    const auto r = richieste().find(metodo);
    if (r == richieste().end()) {
      throw ErroreRichiesta(kMetodoSconosciuto, "metodo sconosciuto: " + metodo);
    }
    uscita.push_back(risposta(id, (this->*(r->second))(parametri)));
  } catch (const ErroreRichiesta& e) {
    uscita.push_back(risposta_di_errore(id, e.codice, e.what()));
  } catch (const json::exception& e) {
    uscita.push_back(risposta_di_errore(id, kParametriNonValidi, e.what()));
  }
  return uscita;
}

json ServizioSorgenti::inizia(const json& p) {
  iniziato_ = true;
  unita_ = unita_offerta(p.value("capabilities", json::object()));
  return {{"capabilities",
           {{"positionEncoding", nome_unita(unita_)},
            {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
            {"hoverProvider", true},
            {"completionProvider", json::object()},
            {"signatureHelpProvider", {{"triggerCharacters", {","}}}},
            {"documentSymbolProvider", true},
            {"documentFormattingProvider", true}}},
          {"serverInfo", {{"name", kNomeServer}}}};
}

json ServizioSorgenti::chiudi(const json&) {
  chiuso_ = true;
  return nullptr;
}

const Fonte& ServizioSorgenti::aperto(const json& parametri) const {
  const std::string uri = parametri.at("textDocument").at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  if (a == aperti_.end()) {
    throw ErroreRichiesta(kParametriNonValidi, "documento non aperto: " + uri);
  }
  return a->second;
}

json ServizioSorgenti::passa_al_simbolo(const json& p) {
  const Fonte& a = aperto(p);
  return simboli_lsp(*a.testo, simboli(SorgenteLetta(*a.testo, genere_del_file(a.percorso))),
                     unita_);
}

json ServizioSorgenti::completa(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), unita_);
  const auto voci = punto ? completamento(s, punto->riga) : std::nullopt;
  return voci ? completamento_lsp(*voci) : json(nullptr);
}

json ServizioSorgenti::mostra_firma(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), unita_);
  const std::optional<FirmaRiga> f = punto ? firma(s, *punto) : std::nullopt;
  return f ? firma_lsp(*f) : json(nullptr);
}

// The row as the compile of its pair leaves the model.
json ServizioSorgenti::descrivi(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), unita_);
  if (!punto) {
    return nullptr;
  }
  const CoppiaCompilata k = compila_coppia(a.percorso, aperti_, disco_);
  const std::optional<DescrizioneRiga> d = descrizione(s, punto->riga, k.c);
  return d ? descrizione_lsp(*d) : json(nullptr);
}

json ServizioSorgenti::formatta(const json& p) {
  const Fonte& a = aperto(p);
  return modifiche_lsp(*a.testo, formattazione(*a.testo), unita_);
}

json ServizioSorgenti::pubblica(const std::string& uri) {
  const CoppiaCompilata k = compila_coppia(aperti_.at(uri).percorso, aperti_, disco_);
  const Fonte& per = aperti_.at(uri).percorso == k.linea.percorso ? k.linea : k.treno;
  const auto documento = [&k](const std::string& percorso) {
    const Fonte& f = percorso == k.linea.percorso ? k.linea : k.treno;
    return DocumentoLsp{uri_di(f.percorso), f.testo.get()};
  };
  json diagnostiche = json::array();
  for (const Diagnosi& d : diagnosi_del_file(k, per)) {
    diagnostiche.push_back(diagnostica_lsp(d, documento, unita_));
  }
  return notifica_lsp("textDocument/publishDiagnostics",
                      {{"uri", uri}, {"diagnostics", std::move(diagnostiche)}});
}

void ServizioSorgenti::pubblica_coppia(const std::string& uri, std::vector<json>& uscita) {
  uscita.push_back(pubblica(uri));
  // The other open files of the same scenario in the same folder are compiled with this text.
  const std::string percorso = aperti_.at(uri).percorso;
  for (const auto& [altro_uri, altro] : aperti_) {
    if (altro_uri != uri && stesso_scenario(percorso, altro.percorso)) {
      uscita.push_back(pubblica(altro_uri));
    }
  }
}

void ServizioSorgenti::esci(const json&, std::vector<json>&) {
  finito_ = true;
}

void ServizioSorgenti::apri(const json& p, std::vector<json>& uscita) {
  const json& d = p.at("textDocument");
  const std::string uri = d.at("uri").get<std::string>();
  aperti_[uri] = {percorso_di(uri).value_or(uri),
                  std::make_shared<const TestoEditor>(d.at("text").get<std::string>())};
  pubblica_coppia(uri, uscita);
}

void ServizioSorgenti::cambia(const json& p, std::vector<json>& uscita) {
  const std::string uri = p.at("textDocument").at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  const json& cambi = p.at("contentChanges");
  if (a == aperti_.end() || !cambi.is_array() || cambi.empty()) {
    return;
  }
  // Full sync: the last change holds the whole text.
  a->second.testo = std::make_shared<const TestoEditor>(cambi.back().at("text").get<std::string>());
  pubblica_coppia(uri, uscita);
}

void ServizioSorgenti::chiudi_documento(const json& p, std::vector<json>& uscita) {
  const std::string uri = p.at("textDocument").at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  if (a == aperti_.end()) {
    return;
  }
  const std::string percorso = a->second.percorso;
  aperti_.erase(a);
  uscita.push_back(notifica_lsp("textDocument/publishDiagnostics",
                                {{"uri", uri}, {"diagnostics", json::array()}}));
  // The others of its pair now read it from the disk.
  for (const auto& [altro_uri, altro] : aperti_) {
    if (stesso_scenario(percorso, altro.percorso)) {
      uscita.push_back(pubblica(altro_uri));
    }
  }
}
