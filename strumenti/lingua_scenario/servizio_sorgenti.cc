#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include <algorithm>
#include <set>
#include <utility>

#include "strumenti/lingua_scenario/analisi_sorgente.h"
#include "strumenti/lingua_scenario/canale_lsp.h"
#include "strumenti/lingua_scenario/protocollo_lsp.h"

using nlohmann::json;

namespace {

// The type of a message for the person that is an error.
constexpr int kMessaggioErrore = 1;

// The problem of the document at `uri` whose text is refused for its length, on the document
// as a whole.
json diagnostica_rifiuto(const std::string& uri, size_t byte, UnitaPosizione u) {
  Diagnosi d;
  d.posto = {uri, 0, 0};
  d.codice = std::string("testo-troppo-lungo");
  d.messaggio = "testo di " + std::to_string(byte) + " byte, oltre i " +
                std::to_string(kTestoMassimo) + " che il server legge: non analizzato";
  const auto documento = [](const std::string& file) { return DocumentoLsp{file, nullptr}; };
  return diagnostica_lsp(d, documento, u);
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

// The row as the compile of its pair leaves the model; for a line source, the pair with its
// first train source by name.
json ServizioSorgenti::descrivi(const json& p) {
  const Fonte& a = aperto(p);
  const SorgenteLetta s(*a.testo, genere_del_file(a.percorso));
  const std::optional<PuntoByte> punto = punto_byte(*a.testo, p.at("position"), unita_);
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
  return descrizione_lsp(*d);
}

json ServizioSorgenti::formatta(const json& p) {
  const Fonte& a = aperto(p);
  return modifiche_lsp(*a.testo, formattazione(*a.testo), unita_);
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
        problemi_della_coppia(compila_con_treno(linea, treno, s_.aperti_, s_.disco_))};
    pubblica(treno, k[0].del_treno, k);
  }

  // A file of neither name, compiled alone.
  void da_solo(const std::string& percorso) {
    const std::vector<ProblemiDellaCoppia> k = {
        problemi_della_coppia(compila_con_treno(percorso, std::nullopt, s_.aperti_, s_.disco_))};
    pubblica(percorso, k[0].della_linea, k);
  }

 private:
  const std::vector<ProblemiDellaCoppia>& della_linea(const std::string& linea) {
    auto l = linee_.find(linea);
    if (l == linee_.end()) {
      l = linee_.emplace(linea, problemi_della_linea(linea, s_.aperti_, s_.disco_)).first;
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
      d.push_back(diagnostica_lsp(x, documento, s_.unita_));
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
    diagnostiche = json::array({diagnostica_rifiuto(uri, r->second, unita_)});
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
      {{"uri", uri}, {"diagnostics", json::array({diagnostica_rifiuto(uri, byte, unita_)})}}));
  return true;
}

void ServizioSorgenti::esci(const json&, std::vector<json>&) {
  finito_ = true;
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
