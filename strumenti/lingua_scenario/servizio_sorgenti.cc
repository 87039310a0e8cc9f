#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

#include "compiler/compila.h"
#include "sources/codifica_1252.h"
#include "strumenti/lingua_scenario/allineamento.h"
#include "strumenti/lingua_scenario/campi_righe.h"
#include "strumenti/lingua_scenario/descrizione_riga.h"
#include "strumenti/comune/diagnosi_compilazione.h"
#include "strumenti/lingua_scenario/righe_sorgente.h"

using nlohmann::json;

namespace {

// The protocol's error codes.
constexpr int kJsonNonValido = -32700;
constexpr int kRichiestaNonValida = -32600;
constexpr int kMetodoSconosciuto = -32601;
constexpr int kParametriNonValidi = -32602;
constexpr int kNonIniziato = -32002;

constexpr int kGravitaErrore = 1;
constexpr int kGravitaAvviso = 2;
constexpr int kSnippet = 2;
constexpr int kParolaChiave = 14;
constexpr const char* kNomeServer = "lingua_scenario";

constexpr std::string_view kSuffissoLinea = "_linea.txt";
constexpr std::string_view kSuffissoTreno = "-.txt";

struct ErroreRichiesta : std::runtime_error {
  ErroreRichiesta(int c, const std::string& m) : std::runtime_error(m), codice(c) {}
  int codice;
};

json errore(const json& id, int codice, const std::string& messaggio) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}};
}

int esadecimale(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// The path of a file: URI; none for another scheme.
std::optional<std::string> percorso_di(const std::string& uri) {
  constexpr std::string_view kFile = "file://";
  if (!uri.starts_with(kFile)) {
    return std::nullopt;
  }
  std::string p;
  for (size_t i = kFile.size(); i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && esadecimale(uri[i + 1]) >= 0 &&
        esadecimale(uri[i + 2]) >= 0) {
      p += static_cast<char>(esadecimale(uri[i + 1]) * 16 + esadecimale(uri[i + 2]));
      i += 2;
    } else {
      p += uri[i];
    }
  }
  // "/C:/x" on Windows is "C:/x".
  if (p.size() > 2 && p[0] == '/' && p[2] == ':') {
    p.erase(0, 1);
  }
  return p;
}

std::string uri_di(const std::string& percorso) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string u = "file://";
  if (!percorso.starts_with('/')) {
    u += '/';
  }
  for (const char c : percorso) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
        std::string_view("/-_.~:").find(c) != std::string_view::npos) {
      u += c;
    } else {
      u += '%';
      u += kCifre[b >> 4];
      u += kCifre[b & 15];
    }
  }
  return u;
}

std::pair<std::string, std::string> cartella_e_nome(const std::string& percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  if (barra == std::string::npos) {
    return {".", percorso};
  }
  return {percorso.substr(0, barra), percorso.substr(barra + 1)};
}

// What a source's file name says: line or train, the scenario's name and the train's number.
struct NomeSorgente {
  GenereSorgente genere = GenereSorgente::linea;
  std::string scenario;
  std::string treno;
};

std::optional<NomeSorgente> nome_sorgente(const std::string& nome) {
  if (nome.size() > kSuffissoLinea.size() && nome.ends_with(kSuffissoLinea)) {
    return NomeSorgente{GenereSorgente::linea, nome.substr(0, nome.size() - kSuffissoLinea.size()),
                        ""};
  }
  if (nome.ends_with(kSuffissoTreno)) {
    const std::string base = nome.substr(0, nome.size() - kSuffissoTreno.size());
    const size_t sotto = base.rfind('_');
    if (sotto != std::string::npos && sotto > 0 && sotto + 1 < base.size()) {
      return NomeSorgente{GenereSorgente::treno, base.substr(0, sotto), base.substr(sotto + 1)};
    }
  }
  return std::nullopt;
}

// A source of a compile: its path, its text as the editor counts it (none when it is missing).

json posizione(int riga, int carattere) { return {{"line", riga}, {"character", carattere}}; }

// The range of the field that starts at `l` in `t`: to the next comma, space or line end.
json intervallo(const TestoEditor* t, int riga, int colonna, UnitaPosizione u) {
  if (t == nullptr || riga <= 0) {
    return {{"start", posizione(0, 0)}, {"end", posizione(0, 0)}};
  }
  const int r = riga - 1;
  const std::string_view b = t->riga_1252(r);
  size_t fine = static_cast<size_t>(std::max(colonna, 1) - 1);
  while (fine < b.size() && b[fine] != ',' && b[fine] != ' ') {
    ++fine;
  }
  const int inizio = t->carattere(r, colonna, u);
  int dopo = t->carattere(r, static_cast<int>(fine) + 1, u);
  if (dopo == inizio && static_cast<size_t>(colonna) <= b.size()) {
    dopo = t->carattere(r, colonna + 1, u);
  }
  return {{"start", posizione(r, inizio)}, {"end", posizione(r, dopo)}};
}

// The diagnostics of one file of a pair, from the problems of the pair's compile.
class Pubblicazione {
 public:
  Pubblicazione(const Fonte& linea, const Fonte& treno, UnitaPosizione u)
      : linea_(linea), treno_(treno), unita_(u) {}

  // The source of a place of a problem, by the path it names; none for a place in no file of
  // the pair.
  const Fonte* fonte(const std::string& percorso) const {
    if (percorso == linea_.percorso) {
      return &linea_;
    }
    if (percorso == treno_.percorso) {
      return &treno_;
    }
    return nullptr;
  }

  json luogo(const Luogo& p, const Fonte& ripiego) const {
    const Fonte* f = fonte(p.file);
    if (f == nullptr) {
      f = &ripiego;
    }
    return {{"uri", uri_di(f->percorso)},
            {"range", intervallo(f->testo.get(), p.riga, p.colonna, unita_)}};
  }

  // The diagnostics of the file `per`: the characters its bytes cannot hold, then the problems
  // that lie in it. A problem in no file of the pair goes to the file that is there.
  json diagnostiche(const std::vector<Diagnosi>& diagnosi, const Fonte& per) const {
    json d = json::array();
    if (per.testo) {
      for (const CarattereMancante& m : per.testo->mancanti()) {
        d.push_back({{"range", intervallo(per.testo.get(), m.riga, m.colonna, unita_)},
                     {"severity", kGravitaErrore},
                     {"code", "carattere-senza-byte"},
                     {"source", kNomeServer},
                     {"message", "carattere che Windows-1252 non ha"}});
      }
    }
    for (const Diagnosi& x : diagnosi) {
      const Fonte* f = fonte(x.posto.file);
      if (f != &per && (f != nullptr || &per != primo())) {
        continue;
      }
      json v = {{"range", luogo(x.posto, per)["range"]},
                {"severity", x.gravita == Gravita::avviso ? kGravitaAvviso : kGravitaErrore},
                {"source", kNomeServer},
                {"message", x.messaggio}};
      if (const auto* numero = std::get_if<int32_t>(&x.codice)) {
        v["code"] = *numero;
      } else if (const auto* nome = std::get_if<std::string>(&x.codice)) {
        v["code"] = *nome;
      }
      json collegate = json::array();
      for (const Nota& n : x.note) {
        if (fonte(n.posto.file) != nullptr) {
          collegate.push_back({{"location", luogo(n.posto, per)}, {"message", n.messaggio}});
        }
      }
      if (!collegate.empty()) {
        v["relatedInformation"] = std::move(collegate);
      }
      d.push_back(std::move(v));
    }
    return d;
  }

 private:
  // The file that takes the problems of a file that is missing: the one that is there.
  const Fonte* primo() const { return linea_.testo ? &linea_ : &treno_; }

  const Fonte& linea_;
  const Fonte& treno_;
  UnitaPosizione unita_;
};

std::string testo_snippet(const TipoRiga& t) {
  std::string s(t.parola);
  int n = 1;
  if (t.solo_con_tracciato) {
    s += "${1|1,2,3,4,5,6|}";
    ++n;
  }
  for (const CampoRiga& c : t.campi) {
    s += ",  ${" + std::to_string(n++) + ":" + std::string(c.nome) + "}";
  }
  return s;
}

std::string firma(const TipoRiga& t) {
  std::string s(t.parola);
  for (const CampoRiga& c : t.campi) {
    s += ", " + std::string(c.nome);
  }
  return s;
}

}  // namespace

json ServizioSorgenti::errore_di_lettura() {
  return errore(nullptr, kJsonNonValido, "messaggio che non e' JSON");
}

std::vector<json> ServizioSorgenti::ricevi(const json& m) {
  std::vector<json> uscita;
  if (!m.is_object() || !m.contains("method") || !m["method"].is_string()) {
    if (m.is_object() && m.contains("id") && !m.contains("result") && !m.contains("error")) {
      uscita.push_back(errore(m["id"], kRichiestaNonValida, "richiesta senza metodo"));
    } else if (!m.is_object()) {
      uscita.push_back(errore(nullptr, kRichiestaNonValida, "messaggio che non e' un oggetto"));
    }
    return uscita;
  }
  const std::string metodo = m["method"];
  const json parametri = m.value("params", json::object());
  if (!m.contains("id")) {
    try {
      notifica(metodo, parametri, uscita);
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
    uscita.push_back({{"jsonrpc", "2.0"}, {"id", id}, {"result", richiesta(metodo, parametri)}});
  } catch (const ErroreRichiesta& e) {
    uscita.push_back(errore(id, e.codice, e.what()));
  } catch (const json::exception& e) {
    uscita.push_back(errore(id, kParametriNonValidi, e.what()));
  }
  return uscita;
}

const ServizioSorgenti::Aperto* ServizioSorgenti::aperto(const json& parametri) const {
  const std::string uri = parametri.at("textDocument").at("uri").get<std::string>();
  const auto a = aperti_.find(uri);
  if (a == aperti_.end()) {
    throw ErroreRichiesta(kParametriNonValidi, "documento non aperto: " + uri);
  }
  return &a->second;
}

json ServizioSorgenti::richiesta(const std::string& metodo, const json& p) {
  if (metodo == "initialize") {
    iniziato_ = true;
    const json codifiche = p.value("capabilities", json::object())
                               .value("general", json::object())
                               .value("positionEncodings", json::array());
    unita_ = UnitaPosizione::utf16;
    for (const json& c : codifiche) {
      if (c == "utf-8") {
        unita_ = UnitaPosizione::utf8;
      }
    }
    return {{"capabilities",
             {{"positionEncoding", unita_ == UnitaPosizione::utf8 ? "utf-8" : "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
              {"hoverProvider", true},
              {"completionProvider", json::object()},
              {"signatureHelpProvider", {{"triggerCharacters", {","}}}},
              {"documentSymbolProvider", true},
              {"documentFormattingProvider", true}}},
            {"serverInfo", {{"name", kNomeServer}}}};
  }
  if (metodo == "shutdown") {
    chiuso_ = true;
    return nullptr;
  }
  if (metodo == "textDocument/hover" || metodo == "textDocument/completion" ||
      metodo == "textDocument/signatureHelp" || metodo == "textDocument/documentSymbol" ||
      metodo == "textDocument/formatting") {
    const Aperto& a = *aperto(p);
    const TestoEditor& t = *a.testo;
    const std::optional<NomeSorgente> nome = nome_sorgente(cartella_e_nome(a.percorso).second);
    const GenereSorgente genere = nome ? nome->genere : GenereSorgente::linea;
    std::vector<std::string_view> righe;
    for (int r = 0; r < t.righe(); ++r) {
      righe.push_back(t.riga_1252(r));
    }
    const std::vector<RigaLetta> lette = leggi_righe(righe, genere);
    if (metodo == "textDocument/formatting") {
      if (!t.mancanti().empty()) {
        return json::array();
      }
      const std::string allineato = da_1252(allinea_colonne(t.byte_1252()));
      if (allineato == t.utf8()) {
        return json::array();
      }
      const int ultima = t.righe() - 1;
      return json::array(
          {{{"range",
             {{"start", posizione(0, 0)},
              {"end", posizione(ultima, t.carattere(ultima, INT32_MAX, unita_))}}},
            {"newText", allineato}}});
    }
    if (metodo == "textDocument/documentSymbol") {
      json simboli = json::array();
      for (size_t r = 0; r < lette.size(); ++r) {
        const RigaLetta& l = lette[r];
        const int riga = static_cast<int>(r);
        const json tutta = {{"start", posizione(riga, 0)},
                            {"end", posizione(riga, t.carattere(riga, INT32_MAX, unita_))}};
        if (l.intestazione) {
          simboli.push_back({{"name", da_1252(l.parola)},
                             {"kind", 3},
                             {"range", tutta},
                             {"selectionRange", tutta},
                             {"children", json::array()}});
          continue;
        }
        const std::vector<const TipoRiga*> tipi = tipi_della_riga(l.sezione, l.parola, true);
        if (tipi.empty() || tipi.front()->simbolo == Simbolo::nessuno || l.valori.empty()) {
          continue;
        }
        const auto valore = [&](size_t k) {
          const ValoreLetto& v = l.valori[std::min(k, l.valori.size() - 1)];
          return da_1252(righe[r].substr(static_cast<size_t>(v.inizio),
                                         static_cast<size_t>(v.fine - v.inizio)));
        };
        std::string nome_simbolo = std::string(tipi.front()->parola) + " " + valore(0);
        if (tipi.front()->simbolo == Simbolo::stazione) {
          nome_simbolo = valore(tipi.front()->campi.size() - 1) + " (" + valore(0) + " m)";
        }
        const json s = {{"name", nome_simbolo},
                        {"kind", tipi.front()->simbolo == Simbolo::stazione ? 20 : 13},
                        {"range", tutta},
                        {"selectionRange", tutta}};
        if (!simboli.empty() && simboli.back().contains("children")) {
          simboli.back()["children"].push_back(s);
          simboli.back()["range"]["end"] = tutta["end"];
        } else {
          simboli.push_back(s);
        }
      }
      return simboli;
    }
    const int riga = p.at("position").at("line").get<int>();
    const int carattere = p.at("position").at("character").get<int>();
    if (riga < 0 || riga >= static_cast<int>(lette.size())) {
      return nullptr;
    }
    const RigaLetta& l = lette[static_cast<size_t>(riga)];
    const int colonna = t.colonna(riga, carattere, unita_) - 1;
    if (metodo == "textDocument/completion") {
      json voci = json::array();
      for (const TipoRiga& tipo : tipi_righe()) {
        if (tipo.sezione == l.sezione) {
          voci.push_back({{"label", std::string(tipo.parola)},
                          {"kind", kParolaChiave},
                          {"detail", std::string(tipo.descrizione)},
                          {"insertText", testo_snippet(tipo)},
                          {"insertTextFormat", kSnippet}});
        }
      }
      return voci;
    }
    const std::vector<const TipoRiga*> tipi = tipi_della_riga(l.sezione, l.parola, true);
    if (metodo == "textDocument/signatureHelp") {
      if (tipi.empty()) {
        return nullptr;
      }
      const TipoRiga& tipo = *tipi.front();
      json parametri = json::array();
      for (const CampoRiga& c : tipo.campi) {
        std::string nome_campo(c.nome);
        if (!c.unita.empty()) {
          nome_campo += " (" + std::string(c.unita) + ")";
        }
        parametri.push_back({{"label", std::string(c.nome)},
                             {"documentation", nome_campo + ": " + testo_intervallo(c)}});
      }
      const int campo = campo_alla_colonna(righe[static_cast<size_t>(riga)], l, colonna);
      return {{"signatures", json::array({{{"label", firma(tipo)},
                                           {"documentation", std::string(tipo.descrizione)},
                                           {"parameters", parametri}}})},
              {"activeSignature", 0},
              {"activeParameter", std::max(campo - 1, 0)}};
    }
    // Hover: the row as the compile of its pair leaves the model.
    const Coppia coppia = compila_coppia(p.at("textDocument").at("uri").get<std::string>());
    const std::string d = descrizione_riga(l, righe[static_cast<size_t>(riga)], coppia.c);
    if (d.empty()) {
      return nullptr;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", d}}}};
  }
  throw ErroreRichiesta(kMetodoSconosciuto, "metodo sconosciuto: " + metodo);
}

std::optional<Fonte> ServizioSorgenti::fonte(const std::string& percorso) {
  const auto a = std::find_if(aperti_.begin(), aperti_.end(),
                              [&](const auto& e) { return e.second.percorso == percorso; });
  if (a != aperti_.end()) {
    return Fonte{percorso, a->second.testo};
  }
  try {
    if (disco_.esiste(percorso)) {
      return Fonte{percorso, std::make_shared<const TestoEditor>(da_1252(disco_.leggi(percorso)))};
    }
  } catch (const piattaforma::ErroreFile&) {
    // A file that cannot be read is compiled as one that is missing.
  }
  return std::nullopt;
}

ServizioSorgenti::Coppia ServizioSorgenti::compila_coppia(const std::string& uri) {
  Coppia k;
  const std::optional<std::string> percorso = percorso_di(uri);
  const auto a = aperti_.find(uri);
  const std::string proprio = a != aperti_.end() ? a->second.percorso : percorso.value_or(uri);
  const auto [cartella, nome] = cartella_e_nome(proprio);
  const std::optional<NomeSorgente> n = nome_sorgente(nome);
  OpzioniCompilazione opzioni;
  if (!n) {
    // A file of neither name is compiled as a line source alone.
    k.linea = fonte(proprio).value_or(Fonte{proprio, nullptr});
    k.treno = Fonte{proprio + ".treno", nullptr};
    opzioni.nome_scenario = "sorgente";
    opzioni.numero_treno = "0";
  } else {
    opzioni.nome_scenario = TestoEditor(n->scenario).byte_1252();
    const std::string linea = cartella + "/" + n->scenario + std::string(kSuffissoLinea);
    std::string treno = proprio;
    std::string numero = n->treno;
    if (n->genere == GenereSorgente::linea) {
      // The first train source of the same name, open or on the disk, by name.
      std::vector<std::string> nomi;
      for (const auto& [u, aperta] : aperti_) {
        const auto [c, nm] = cartella_e_nome(aperta.percorso);
        const std::optional<NomeSorgente> altro = nome_sorgente(nm);
        if (c == cartella && altro && altro->genere == GenereSorgente::treno &&
            altro->scenario == n->scenario) {
          nomi.push_back(nm);
        }
      }
      try {
        for (const std::string& nm : disco_.elenca(cartella)) {
          const std::optional<NomeSorgente> altro = nome_sorgente(nm);
          if (altro && altro->genere == GenereSorgente::treno && altro->scenario == n->scenario) {
            nomi.push_back(nm);
          }
        }
      } catch (const piattaforma::ErroreFile&) {
        // A folder that cannot be listed gives no train source.
      }
      std::sort(nomi.begin(), nomi.end());
      treno.clear();
      numero = "0";
      if (!nomi.empty()) {
        treno = cartella + "/" + nomi.front();
        numero = nome_sorgente(nomi.front())->treno;
      }
    }
    opzioni.numero_treno = TestoEditor(numero).byte_1252();
    k.linea = fonte(linea).value_or(Fonte{linea, nullptr});
    k.treno = treno.empty() ? Fonte{cartella + "/-", nullptr}
                            : fonte(treno).value_or(Fonte{treno, nullptr});
  }
  const auto testo = [](const Fonte& f) -> std::optional<std::string_view> {
    if (!f.testo) {
      return std::nullopt;
    }
    return f.testo->byte_1252();
  };
  k.c = compila(testo(k.linea), testo(k.treno), opzioni);
  k.nome_linea = opzioni.nome_scenario + std::string(kSuffissoLinea);
  k.nome_treno = opzioni.nome_scenario + "_" + opzioni.numero_treno + std::string(kSuffissoTreno);
  return k;
}

json ServizioSorgenti::pubblica(const std::string& uri) {
  const Coppia k = compila_coppia(uri);
  const auto autore = [](const Fonte& f, const std::string& nome) {
    return SorgenteAutore{f.percorso, nome, f.testo ? f.testo->byte_1252() : std::string()};
  };
  const std::vector<Diagnosi> diagnosi = diagnosi_della_compilazione(
      k.c, {autore(k.linea, k.nome_linea), autore(k.treno, k.nome_treno)});
  const Pubblicazione p(k.linea, k.treno, unita_);
  const std::string proprio = aperti_.at(uri).percorso;
  const Fonte& per = proprio == k.linea.percorso ? k.linea : k.treno;
  return {{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", uri}, {"diagnostics", p.diagnostiche(diagnosi, per)}}}};
}

void ServizioSorgenti::pubblica_coppia(const std::string& uri, std::vector<json>& uscita) {
  uscita.push_back(pubblica(uri));
  // The other open files of the same scenario in the same folder are compiled with this text.
  const auto [cartella, nome] = cartella_e_nome(aperti_.at(uri).percorso);
  const std::optional<NomeSorgente> n = nome_sorgente(nome);
  if (!n) {
    return;
  }
  for (const auto& [altro_uri, altro] : aperti_) {
    const auto [c, nm] = cartella_e_nome(altro.percorso);
    const std::optional<NomeSorgente> a = nome_sorgente(nm);
    if (altro_uri != uri && c == cartella && a && a->scenario == n->scenario) {
      uscita.push_back(pubblica(altro_uri));
    }
  }
}

void ServizioSorgenti::notifica(const std::string& metodo, const json& p,
                                std::vector<json>& uscita) {
  if (metodo == "exit") {
    finito_ = true;
    return;
  }
  if (!iniziato_ || chiuso_) {
    return;
  }
  if (metodo == "textDocument/didOpen") {
    const json& d = p.at("textDocument");
    const std::string uri = d.at("uri").get<std::string>();
    aperti_[uri] = {percorso_di(uri).value_or(uri),
                    std::make_shared<const TestoEditor>(d.at("text").get<std::string>())};
    pubblica_coppia(uri, uscita);
  } else if (metodo == "textDocument/didChange") {
    const std::string uri = p.at("textDocument").at("uri").get<std::string>();
    const auto a = aperti_.find(uri);
    const json& cambi = p.at("contentChanges");
    if (a == aperti_.end() || !cambi.is_array() || cambi.empty()) {
      return;
    }
    // Full sync: the last change holds the whole text.
    a->second.testo = std::make_shared<const TestoEditor>(cambi.back().at("text").get<std::string>());
    pubblica_coppia(uri, uscita);
  } else if (metodo == "textDocument/didClose") {
    const std::string uri = p.at("textDocument").at("uri").get<std::string>();
    const auto a = aperti_.find(uri);
    if (a == aperti_.end()) {
      return;
    }
    const std::string percorso = a->second.percorso;
    aperti_.erase(a);
    uscita.push_back({{"jsonrpc", "2.0"},
                      {"method", "textDocument/publishDiagnostics"},
                      {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
    // The others of its pair now read it from the disk.
    const auto [cartella, nome] = cartella_e_nome(percorso);
    const std::optional<NomeSorgente> n = nome_sorgente(nome);
    for (const auto& [altro_uri, altro] : aperti_) {
      const auto [c, nm] = cartella_e_nome(altro.percorso);
      const std::optional<NomeSorgente> o = nome_sorgente(nm);
      if (n && c == cartella && o && o->scenario == n->scenario) {
        uscita.push_back(pubblica(altro_uri));
      }
    }
  }
}
