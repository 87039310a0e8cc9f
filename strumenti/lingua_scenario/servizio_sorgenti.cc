#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include <algorithm>
#include <set>
#include <utility>

#include "model/nomi_file.h"
#include "strumenti/lingua_scenario/analisi_sorgente.h"
#include "strumenti/lingua_scenario/canale_lsp.h"
#include "strumenti/lingua_scenario/correzioni.h"
#include "strumenti/lingua_scenario/marcia_coppia.h"
#include "strumenti/lingua_scenario/protocollo_lsp.h"
#include "strumenti/lingua_scenario/suggerimenti_chilometrici.h"

using nlohmann::json;

namespace {

// The type of a message for the person that is an error.
constexpr int kMessaggioErrore = 1;

// The problem of the document at `uri` whose text is refused for its length, on the document
// as a whole.
json diagnostica_rifiuto(const std::string& uri, size_t byte, const CapacitaCliente& cliente) {
  Diagnosi d;
  d.posto = {uri, 0, 0};
  d.codice = std::string("testo-troppo-lungo");
  d.messaggio = "testo di " + std::to_string(byte) + " byte, oltre i " +
                std::to_string(kTestoMassimo) + " che il server legge: non analizzato";
  const auto documento = [](const std::string& file) { return DocumentoLsp{file, nullptr}; };
  return diagnostica_lsp(d, documento, cliente);
}

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

std::vector<json> ServizioSorgenti::messaggio_troppo_lungo(size_t byte) {
  const std::string testo = "messaggio di " + std::to_string(byte) + " byte, oltre i " +
                            std::to_string(kCorpoMassimo) + " che il server legge: scartato";
  return {risposta_di_errore(nullptr, kRichiestaNonValida, testo),
          notifica_lsp("window/showMessage", {{"type", kMessaggioErrore}, {"message", testo}})};
}

std::vector<json> ServizioSorgenti::ricevi(const json& m) {
  std::vector<json> uscita = accogli(m);
  for (json& p : pubblica_in_attesa()) {
    uscita.push_back(std::move(p));
  }
  return uscita;
}

std::vector<json> ServizioSorgenti::accogli(const json& m) {
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

// The row as the compile of its pair leaves the model; for a line source, the pair with its
// first train source by name.
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
  // A line source's rows read as one of its trains leaves them; the person is told which.
  if (a.percorso == k.linea.percorso && !k.numero_treno.empty()) {
    d->voci.push_back("con il treno " + k.numero_treno + ", il primo per nome");
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

// One round of publications: each pair compiled once, each file published once.
class ServizioSorgenti::Giro {
 public:
  Giro(const ServizioSorgenti& s, std::vector<json>& uscita) : s_(s), uscita_(uscita) {}

  // The line source's problems over its trains; with `treni`, each train source's too.
  void linea(const std::string& linea, bool treni) {
    const std::vector<ProblemiDellaCoppia>& coppie = della_linea(linea);
    pubblica(linea, diagnosi_della_linea(coppie), coppie);
    if (treni) {
      for (const ProblemiDellaCoppia& k : coppie) {
        if (!k.numero_treno.empty()) {
          pubblica(k.treno.percorso, k.del_treno, coppie);
        }
      }
    }
  }

  // The train source's problems; with `con_linea`, its line source's when it is open.
  void treno(const std::string& linea, const std::string& treno, bool con_linea) {
    if (s_.percorso_aperto(linea)) {
      const std::vector<ProblemiDellaCoppia>& coppie = della_linea(linea);
      const auto k = std::find_if(coppie.begin(), coppie.end(), [&](const ProblemiDellaCoppia& c) {
        return c.treno.percorso == treno;
      });
      if (k != coppie.end()) {
        pubblica(treno, k->del_treno, coppie);
        if (con_linea) {
          pubblica(linea, diagnosi_della_linea(coppie), coppie);
        }
        return;
      }
    }
    const std::vector<ProblemiDellaCoppia> k = {
        problemi(compila_con_treno(linea, treno, s_.aperti_, s_.disco_))};
    pubblica(treno, k[0].del_treno, k);
  }

  // A file of neither name, compiled alone.
  void da_solo(const std::string& percorso) {
    const std::vector<ProblemiDellaCoppia> k = {
        problemi(compila_con_treno(percorso, std::nullopt, s_.aperti_, s_.disco_))};
    pubblica(percorso, k[0].della_linea, k);
  }

 private:
  // The timetable check's problems, which need the compile, join the compile's own.
  void aggiungi_marcia(const CoppiaCompilata& k, ProblemiDellaCoppia& p) const {
    for (Diagnosi& d : diagnosi_della_marcia(k, k.linea, s_.aperti_, s_.disco_)) {
      p.della_linea.push_back(std::move(d));
    }
    for (Diagnosi& d : diagnosi_della_marcia(k, k.treno, s_.aperti_, s_.disco_)) {
      p.del_treno.push_back(std::move(d));
    }
  }

  ProblemiDellaCoppia problemi(const CoppiaCompilata& k) const {
    ProblemiDellaCoppia p = problemi_della_coppia(k);
    aggiungi_marcia(k, p);
    return p;
  }

  const std::vector<ProblemiDellaCoppia>& della_linea(const std::string& linea) {
    auto l = linee_.find(linea);
    if (l == linee_.end()) {
      const auto marcia = [this](const CoppiaCompilata& k, ProblemiDellaCoppia& p) {
        aggiungi_marcia(k, p);
      };
      l = linee_.emplace(linea, problemi_della_linea(linea, s_.aperti_, s_.disco_, marcia)).first;
    }
    return l->second;
  }

  void pubblica(const std::string& percorso, const std::vector<Diagnosi>& diagnosi,
                const std::vector<ProblemiDellaCoppia>& coppie) {
    const std::string uri = s_.uri_del_percorso(percorso);
    if (!pubblicati_.insert(uri).second) {
      return;
    }
    const auto documento = [&](const std::string& p) {
      for (const ProblemiDellaCoppia& k : coppie) {
        for (const Fonte* f : {&k.linea, &k.treno}) {
          if (f->percorso == p) {
            return DocumentoLsp{s_.uri_del_percorso(p), f->testo.get()};
          }
        }
      }
      return DocumentoLsp{s_.uri_del_percorso(p), nullptr};
    };
    json d = json::array();
    for (const Diagnosi& x : diagnosi) {
      d.push_back(diagnostica_lsp(x, documento, s_.cliente_));
    }
    uscita_.push_back(s_.pubblicazione(uri, std::move(d)));
  }

  const ServizioSorgenti& s_;
  std::vector<json>& uscita_;
  std::map<std::string, std::vector<ProblemiDellaCoppia>> linee_;
  std::set<std::string> pubblicati_;
};

std::vector<json> ServizioSorgenti::pubblica_in_attesa() {
  std::vector<json> uscita;
  Giro giro(*this, uscita);
  for (const auto& [uri, dipendenti] : std::exchange(in_attesa_, {})) {
    const auto a = aperti_.find(uri);
    if (a == aperti_.end()) {
      continue;
    }
    const std::string percorso = a->second.percorso;
    const std::optional<std::string> linea = linea_del_file(percorso, aperti_, disco_);
    if (!linea) {
      giro.da_solo(percorso);
    } else if (*linea == percorso) {
      giro.linea(percorso, dipendenti);
    } else {
      giro.treno(*linea, percorso, dipendenti);
    }
  }
  return uscita;
}

void ServizioSorgenti::da_pubblicare(const std::string& uri, bool dipendenti) {
  for (auto& [u, d] : in_attesa_) {
    if (u == uri) {
      d = d || dipendenti;
      return;
    }
  }
  in_attesa_.emplace_back(uri, dipendenti);
}

bool ServizioSorgenti::percorso_aperto(const std::string& percorso) const {
  return std::any_of(aperti_.begin(), aperti_.end(),
                     [&](const auto& a) { return a.second.percorso == percorso; });
}

std::string ServizioSorgenti::uri_del_percorso(const std::string& percorso) const {
  const auto a = std::find_if(aperti_.begin(), aperti_.end(),
                              [&](const auto& x) { return x.second.percorso == percorso; });
  return a != aperti_.end() ? a->first : uri_di(percorso);
}

json ServizioSorgenti::pubblicazione(const std::string& uri, json diagnostiche) const {
  const auto r = rifiutati_.find(uri);
  if (r != rifiutati_.end()) {
    diagnostiche = json::array({diagnostica_rifiuto(uri, r->second, cliente_)});
  }
  json p = {{"uri", uri}, {"diagnostics", std::move(diagnostiche)}};
  const auto v = versioni_.find(uri);
  if (v != versioni_.end()) {
    p["version"] = v->second;
  }
  return notifica_lsp("textDocument/publishDiagnostics", std::move(p));
}

bool ServizioSorgenti::rifiuta(const std::string& uri, size_t byte, std::vector<json>& uscita) {
  if (byte <= kTestoMassimo) {
    rifiutati_.erase(uri);
    return false;
  }
  // An open document keeps its last text, which the problems of its pair still read.
  if (aperti_.contains(uri)) {
    rifiutati_[uri] = byte;
  }
  uscita.push_back(notifica_lsp(
      "textDocument/publishDiagnostics",
      {{"uri", uri}, {"diagnostics", json::array({diagnostica_rifiuto(uri, byte, cliente_)})}}));
  return true;
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

// A file changed on the disk: every open source of its folder is published again at the end
// of the batch, with the files its compile reads, the editor's texts still counting over the
// disk's.
void ServizioSorgenti::file_cambiati(const json& p, std::vector<json>&) {
  std::vector<std::string> cartelle;
  for (const json& c : p.at("changes")) {
    const std::string percorso = percorso_di(c.at("uri").get<std::string>()).value_or("");
    cartelle.push_back(percorso.substr(0, percorso.find_last_of("/\\") + 1));
  }
  for (const auto& [uri, aperto] : aperti_) {
    const std::string cartella = aperto.percorso.substr(0, aperto.percorso.find_last_of("/\\") + 1);
    if (std::find(cartelle.begin(), cartelle.end(), cartella) != cartelle.end()) {
      da_pubblicare(uri, true);
    }
  }
}

void ServizioSorgenti::apri(const json& p, std::vector<json>& uscita) {
  const json& d = p.at("textDocument");
  const std::string uri = d.at("uri").get<std::string>();
  const std::string& testo = d.at("text").get_ref<const std::string&>();
  if (rifiuta(uri, testo.size(), uscita)) {
    return;
  }
  aperti_[uri] = {percorso_di(uri).value_or(uri), std::make_shared<const TestoEditor>(testo)};
  tieni_versione(uri, d);
  da_pubblicare(uri, true);
}

void ServizioSorgenti::cambia(const json& p, std::vector<json>& uscita) {
  const json& d = p.at("textDocument");
  const std::string uri = d.at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  const json& cambi = p.at("contentChanges");
  if (a == aperti_.end() || !cambi.is_array() || cambi.empty()) {
    return;
  }
  // Full sync: the last change holds the whole text.
  const std::string& testo = cambi.back().at("text").get_ref<const std::string&>();
  if (rifiuta(uri, testo.size(), uscita)) {
    return;
  }
  a->second.testo = std::make_shared<const TestoEditor>(testo);
  tieni_versione(uri, d);
  da_pubblicare(uri, true);
}

void ServizioSorgenti::tieni_versione(const std::string& uri, const json& documento) {
  const auto v = documento.find("version");
  if (v != documento.end() && v->is_number_integer()) {
    versioni_[uri] = v->get<int64_t>();
  } else {
    versioni_.erase(uri);
  }
}

void ServizioSorgenti::chiudi_documento(const json& p, std::vector<json>& uscita) {
  const std::string uri = p.at("textDocument").at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  if (a == aperti_.end()) {
    return;
  }
  const std::string percorso = a->second.percorso;
  aperti_.erase(a);
  versioni_.erase(uri);
  rifiutati_.erase(uri);
  std::erase_if(in_attesa_, [&uri](const auto& x) { return x.first == uri; });
  const auto svuota = [&uscita](const std::string& u) {
    uscita.push_back(notifica_lsp("textDocument/publishDiagnostics",
                                  {{"uri", u}, {"diagnostics", json::array()}}));
  };
  svuota(uri);
  const std::optional<std::string> linea = linea_del_file(percorso, aperti_, disco_);
  if (!linea) {
    return;
  }
  if (*linea == percorso) {
    // Its train sources now read it from the disk; those not open were published only for
    // its text, which is gone.
    for (const std::string& treno : treni_della_linea(percorso, aperti_, disco_)) {
      if (percorso_aperto(treno)) {
        da_pubblicare(uri_del_percorso(treno), false);
      } else {
        svuota(uri_di(treno));
      }
    }
  } else if (percorso_aperto(*linea)) {
    da_pubblicare(uri_del_percorso(*linea), false);
  }
}
