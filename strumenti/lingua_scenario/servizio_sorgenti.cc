#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include "model/nomi_file.h"
#include "strumenti/lingua_scenario/analisi_sorgente.h"
#include "strumenti/lingua_scenario/correzioni.h"
#include "strumenti/lingua_scenario/marcia_coppia.h"
#include "strumenti/lingua_scenario/protocollo_lsp.h"
#include "strumenti/lingua_scenario/suggerimenti_chilometrici.h"

using nlohmann::json;

namespace {

// How the protocol names and counts each file of a compiled pair.
std::function<DocumentoLsp(const std::string&)> documenti_della_coppia(const CoppiaCompilata& k) {
  return [&k](const std::string& percorso) {
    const Fonte& f = percorso == k.linea.percorso ? k.linea : k.treno;
    return DocumentoLsp{uri_di(f.percorso), f.testo.get()};
  };
}

// Whether a code action of kind "quickfix" is among the kinds asked for (all when none).
bool chiede_correzioni(const json& contesto) {
  if (!contesto.is_object() || !contesto.contains("only")) {
    return true;
  }
  const json& solo = contesto["only"];
  const auto vale = [](const json& k) { return k == "quickfix" || k == ""; };
  if (solo.is_string()) {
    return vale(solo);
  }
  return solo.is_array() && std::any_of(solo.begin(), solo.end(), vale);
}

// The files whose change on the disk changes a compile: either source, and the parameters of
// the timetable check, named by the one naming rule.
json file_da_osservare() {
  const Identita qualsiasi{"*", "*"};
  json osservati = json::array();
  for (const std::string& nome :
       {nome_file(FileDellaCorsa::sorgente_linea, qualsiasi),
        nome_file(FileDellaCorsa::sorgente_treno, qualsiasi), nome_file_marcia("*")}) {
    osservati.push_back({{"globPattern", "**/" + nome}});
  }
  return osservati;
}

}  // namespace

const std::map<std::string_view, ServizioSorgenti::Richiesta>& ServizioSorgenti::richieste() {
  static const std::map<std::string_view, Richiesta> kRichieste = {
      {"initialize", &ServizioSorgenti::inizia},
      {"shutdown", &ServizioSorgenti::chiudi},
      {"textDocument/documentSymbol", &ServizioSorgenti::passa_al_simbolo},
      {"textDocument/completion", &ServizioSorgenti::completa},
      {"textDocument/signatureHelp", &ServizioSorgenti::mostra_firma},
      {"textDocument/hover", &ServizioSorgenti::descrivi},
      {"textDocument/formatting", &ServizioSorgenti::formatta},
      {"textDocument/inlayHint", &ServizioSorgenti::suggerisci},
      {"textDocument/codeAction", &ServizioSorgenti::correggi},
  };
  return kRichieste;
}

const std::map<std::string_view, ServizioSorgenti::Notifica>& ServizioSorgenti::notifiche() {
  static const std::map<std::string_view, Notifica> kNotifiche = {
      {"exit", &ServizioSorgenti::esci},
      {"initialized", &ServizioSorgenti::pronto},
      {"workspace/didChangeWatchedFiles", &ServizioSorgenti::file_cambiati},
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
  cliente_ = capacita_del_cliente(p.is_object() ? p.value("capabilities", json::object())
                                                : json::object());
  json capacita = {{"positionEncoding", nome_unita(cliente_.unita)},
                   {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
                   {"hoverProvider", true},
                   {"completionProvider", json::object()},
                   {"signatureHelpProvider", {{"triggerCharacters", {","}}}},
                   {"documentSymbolProvider", true},
                   {"documentFormattingProvider", true}};
  if (cliente_.azioni_letterali) {
    capacita["codeActionProvider"] = {{"codeActionKinds", {"quickfix"}}};
  }
  if (cliente_.suggerimenti) {
    capacita["inlayHintProvider"] = true;
  }
  return {{"capabilities", std::move(capacita)}, {"serverInfo", {{"name", kNomeServer}}}};
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
  return simboli_lsp(*a.testo, p.at("textDocument").at("uri").get<std::string>(),
                     simboli(SorgenteLetta(*a.testo, genere_del_file(a.percorso))), cliente_);
}

json ServizioSorgenti::completa(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), cliente_.unita);
  const auto voci = punto ? completamento(s, punto->riga) : std::nullopt;
  return voci ? completamento_lsp(*voci, cliente_) : json(nullptr);
}

json ServizioSorgenti::mostra_firma(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), cliente_.unita);
  const std::optional<FirmaRiga> f = punto ? firma(s, *punto) : std::nullopt;
  return f ? firma_lsp(*f, cliente_) : json(nullptr);
}

// The row as the compile of its pair leaves the model.
json ServizioSorgenti::descrivi(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), cliente_.unita);
  if (!punto) {
    return nullptr;
  }
  const CoppiaCompilata k = compila_coppia(a.percorso, aperti_, disco_);
  std::optional<DescrizioneRiga> d = descrizione(s, punto->riga, k.c);
  if (!d) {
    return nullptr;
  }
  // A station row of the train source: the stretch it ends, by the timetable check.
  if (a.percorso == k.treno.percorso) {
    if (const std::optional<Marcia> m = marcia_della_coppia(k, aperti_, disco_).marcia) {
      for (std::string& v : voci_della_tratta(*m, k.c, punto->riga + 1)) {
        d->voci.push_back(std::move(v));
      }
    }
  }
  return descrizione_lsp(*d, cliente_);
}

json ServizioSorgenti::formatta(const json& p) {
  const Fonte& a = aperto(p);
  return modifiche_lsp(*a.testo, formattazione(*a.testo), cliente_.unita);
}

// The kilometre readings of the lines asked for, by the compile of the pair.
json ServizioSorgenti::suggerisci(const json& p) {
  const Fonte& a = aperto(p);
  json elenco = json::array();
  if (!cliente_.suggerimenti) {
    return elenco;
  }
  const json& tratto = p.at("range");
  const int da = tratto.at("start").at("line").get<int>();
  const int fino = tratto.at("end").at("line").get<int>();
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const CoppiaCompilata k = compila_coppia(a.percorso, aperti_, disco_);
  for (const SuggerimentoCampo& h : suggerimenti_chilometrici(s, da, fino, k.c)) {
    elenco.push_back(suggerimento_lsp(*a.testo, h, cliente_));
  }
  return elenco;
}

// A quick fix for each problem of the lines asked for that has one, with that problem.
json ServizioSorgenti::correggi(const json& p) {
  const Fonte& a = aperto(p);
  const std::string uri = p.at("textDocument").at("uri").get<std::string>();
  json azioni = json::array();
  if (!cliente_.azioni_letterali || !chiede_correzioni(p.value("context", json::object()))) {
    return azioni;
  }
  const json& tratto = p.at("range");
  const int da = tratto.at("start").at("line").get<int>();
  const int fino = tratto.at("end").at("line").get<int>();
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const CoppiaCompilata k = compila_coppia(a.percorso, aperti_, disco_);
  const Fonte& per = a.percorso == k.linea.percorso ? k.linea : k.treno;
  for (const Diagnosi& d : diagnosi_del_file(k, per)) {
    if (d.posto.riga - 1 < da || d.posto.riga - 1 > fino) {
      continue;
    }
    if (const std::optional<Correzione> c = correzione(s, d)) {
      azioni.push_back(correzione_lsp(
          *a.testo, uri, *c, diagnostica_lsp(d, documenti_della_coppia(k), cliente_), cliente_));
    }
  }
  return azioni;
}

json ServizioSorgenti::pubblica(const std::string& uri) {
  const CoppiaCompilata k = compila_coppia(aperti_.at(uri).percorso, aperti_, disco_);
  const Fonte& per = aperti_.at(uri).percorso == k.linea.percorso ? k.linea : k.treno;
  const auto documento = documenti_della_coppia(k);
  json diagnostiche = json::array();
  for (const Diagnosi& d : diagnosi_del_file(k, per)) {
    diagnostiche.push_back(diagnostica_lsp(d, documento, cliente_));
  }
  for (const Diagnosi& d : diagnosi_della_marcia(k, per, aperti_, disco_)) {
    diagnostiche.push_back(diagnostica_lsp(d, documento, cliente_));
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

// A client that registers watched files is asked to tell of the sources and parameters files
// changed on the disk, which the compile of an open source reads.
void ServizioSorgenti::pronto(const json&, std::vector<json>& uscita) {
  if (!cliente_.registra_file_osservati) {
    return;
  }
  uscita.push_back(
      {{"jsonrpc", "2.0"},
       {"id", ++richieste_al_cliente_},
       {"method", "client/registerCapability"},
       {"params",
        {{"registrations",
          json::array({{{"id", "file-osservati"},
                        {"method", "workspace/didChangeWatchedFiles"},
                        {"registerOptions", {{"watchers", file_da_osservare()}}}}})}}}});
}

// A file changed on the disk: every open source of its folder is compiled and published
// again, the editor's texts still counting over the disk's.
void ServizioSorgenti::file_cambiati(const json& p, std::vector<json>& uscita) {
  std::vector<std::string> cartelle;
  for (const json& c : p.at("changes")) {
    const std::string percorso = percorso_di(c.at("uri").get<std::string>()).value_or("");
    cartelle.push_back(percorso.substr(0, percorso.find_last_of("/\\") + 1));
  }
  for (const auto& [uri, aperto] : aperti_) {
    const std::string cartella = aperto.percorso.substr(0, aperto.percorso.find_last_of("/\\") + 1);
    if (std::find(cartelle.begin(), cartelle.end(), cartella) != cartelle.end()) {
      uscita.push_back(pubblica(uri));
    }
  }
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
