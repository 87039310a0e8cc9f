#include "strumenti/lingua_scenario/protocollo_lsp.h"

#include <string_view>
#include <variant>

using nlohmann::json;

namespace {

constexpr int kGravitaErrore = 1;
constexpr int kGravitaAvviso = 2;
constexpr int kTestoSemplice = 1;
constexpr int kSnippet = 2;
constexpr int kParolaChiave = 14;
// The kinds of an outline's entries.
constexpr int kSimboloSezione = 3;
constexpr int kSimboloVariabile = 13;
constexpr int kSimboloChiave = 20;

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

json posizione(int riga, int carattere) {
  return {{"line", riga}, {"character", carattere}};
}

json posizione_lsp(const TestoEditor& t, PuntoByte p, UnitaPosizione u) {
  return posizione(p.riga, t.carattere(p.riga, p.colonna + 1, u));
}

// The snippet of a row: the keyword, a choice of the curve's class, a stop at each field.
std::string testo_snippet(const VoceCompletamento& v) {
  std::string s = v.parola;
  int n = 1;
  if (v.con_classe) {
    s += "${1|1,2,3,4,5,6|}";
    ++n;
  }
  for (const std::string& c : v.campi) {
    s += ",  ${" + std::to_string(n++) + ":" + c + "}";
  }
  return s;
}

// The keyword and the fields as the row reads: "rallentamento, x, v, l, f_tt, f_ta, d_v".
std::string campi_della_voce(const VoceCompletamento& v) {
  std::string s = v.parola;
  if (v.con_classe) {
    s += "1-6";
  }
  for (const std::string& c : v.campi) {
    s += ", " + c;
  }
  return s;
}

json testo_per(const std::string& testo, bool markdown) {
  return {{"kind", markdown ? "markdown" : "plaintext"}, {"value", testo}};
}

int genere_simbolo(GenereSimbolo g) {
  switch (g) {
    case GenereSimbolo::sezione:
      return kSimboloSezione;
    case GenereSimbolo::stazione:
      return kSimboloChiave;
    case GenereSimbolo::altro:
      return kSimboloVariabile;
  }
  return kSimboloVariabile;
}

json simbolo_lsp(const TestoEditor& t, const SimboloSorgente& s, UnitaPosizione u) {
  json j = {{"name", s.nome},
            {"kind", genere_simbolo(s.genere)},
            {"range", intervallo_lsp(&t, s.tratto, u)},
            {"selectionRange", intervallo_lsp(&t, s.selezione, u)}};
  if (s.genere == GenereSimbolo::sezione) {
    j["children"] = json::array();
    for (const SimboloSorgente& f : s.figli) {
      j["children"].push_back(simbolo_lsp(t, f, u));
    }
  }
  return j;
}

// The outline's entries one after the other, each row naming its section.
void simboli_piatti(const TestoEditor& t, const std::string& uri, const SimboloSorgente& s,
                    const std::string& contenitore, UnitaPosizione u, json& elenco) {
  json j = {{"name", s.nome},
            {"kind", genere_simbolo(s.genere)},
            {"location", {{"uri", uri}, {"range", intervallo_lsp(&t, s.tratto, u)}}}};
  if (!contenitore.empty()) {
    j["containerName"] = contenitore;
  }
  elenco.push_back(std::move(j));
  for (const SimboloSorgente& f : s.figli) {
    simboli_piatti(t, uri, f, s.nome, u, elenco);
  }
}

json luogo_lsp(const Luogo& p, const DocumentoLsp& d, UnitaPosizione u) {
  return {
      {"uri", d.uri},
      {"range", d.testo == nullptr
                    ? intervallo_lsp(nullptr, {}, u)
                    : intervallo_lsp(d.testo, tratto_del_campo(*d.testo, p.riga, p.colonna), u)}};
}

// "Prova_linea.txt:5: la riga che la occupa": the file by its name, as a message names it.
std::string nota_nel_messaggio(const Nota& n) {
  const size_t barra = n.posto.file.find_last_of("/\\");
  std::string testo = barra == std::string::npos ? n.posto.file : n.posto.file.substr(barra + 1);
  if (n.posto.riga > 0) {
    testo += ":" + std::to_string(n.posto.riga);
  }
  return testo + ": " + n.messaggio;
}

}  // namespace

json risposta(const json& id, json risultato) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}};
}

json risposta_di_errore(const json& id, int codice, const std::string& messaggio) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}};
}

json notifica_lsp(const std::string& metodo, json parametri) {
  return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}

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

std::optional<PuntoByte> punto_byte(const TestoEditor& t, const json& posizione, UnitaPosizione u) {
  const int riga = posizione.at("line").get<int>();
  const int carattere = posizione.at("character").get<int>();
  if (riga < 0 || riga >= t.righe()) {
    return std::nullopt;
  }
  return PuntoByte{riga, t.colonna(riga, carattere, u) - 1};
}

json intervallo_lsp(const TestoEditor* t, const TrattoByte& b, UnitaPosizione u) {
  if (t == nullptr) {
    return {{"start", posizione(0, 0)}, {"end", posizione(0, 0)}};
  }
  return {{"start", posizione_lsp(*t, b.inizio, u)}, {"end", posizione_lsp(*t, b.fine, u)}};
}

json simboli_lsp(const TestoEditor& t, const std::string& uri,
                 const std::vector<SimboloSorgente>& s, const CapacitaCliente& k) {
  json j = json::array();
  for (const SimboloSorgente& x : s) {
    if (k.simboli_gerarchici) {
      j.push_back(simbolo_lsp(t, x, k.unita));
    } else {
      simboli_piatti(t, uri, x, "", k.unita, j);
    }
  }
  return j;
}

json completamento_lsp(const std::vector<VoceCompletamento>& voci, const CapacitaCliente& k) {
  json j = json::array();
  for (const VoceCompletamento& v : voci) {
    json voce = {{"label", v.parola}, {"kind", kParolaChiave}};
    if (k.snippet) {
      voce["detail"] = v.descrizione;
      voce["insertText"] = testo_snippet(v);
      voce["insertTextFormat"] = kSnippet;
    } else {
      // The class digit or the values follow as the author types them.
      voce["detail"] = v.descrizione + ": " + campi_della_voce(v);
      voce["insertText"] = v.parola;
      voce["insertTextFormat"] = kTestoSemplice;
    }
    j.push_back(std::move(voce));
  }
  return j;
}

json firma_lsp(const FirmaRiga& f, const CapacitaCliente& k) {
  const auto documentazione = [&k](const std::string& testo) {
    return k.markdown_firma ? testo_per(testo, true) : json(testo);
  };
  json parametri = json::array();
  for (const ParametroFirma& p : f.parametri) {
    parametri.push_back({{"label", p.nome}, {"documentation", documentazione(p.documentazione)}});
  }
  return {{"signatures", json::array({{{"label", f.etichetta},
                                       {"documentation", documentazione(f.documentazione)},
                                       {"parameters", parametri}}})},
          {"activeSignature", 0},
          {"activeParameter", f.attivo}};
}

json descrizione_lsp(const DescrizioneRiga& d, const CapacitaCliente& k) {
  const bool md = k.markdown_descrizione;
  std::string testo = (md ? "**" + d.parola + "**" : d.parola) + ": " + d.descrizione;
  for (const std::string& v : d.voci) {
    testo += (md ? "\n- " : "\n") + v;
  }
  return {{"contents", testo_per(testo, md)}};
}

json modifiche_lsp(const TestoEditor& t, const std::vector<ModificaTesto>& m, UnitaPosizione u) {
  json j = json::array();
  for (const ModificaTesto& x : m) {
    j.push_back({{"range", intervallo_lsp(&t, x.tratto, u)}, {"newText", x.testo}});
  }
  return j;
}

json suggerimento_lsp(const TestoEditor& t, const SuggerimentoCampo& h, const CapacitaCliente& k) {
  return {
      {"position", posizione_lsp(t, h.punto, k.unita)}, {"label", h.testo}, {"paddingLeft", true}};
}

json correzione_lsp(const TestoEditor& t, const std::string& uri, const Correzione& c,
                    json diagnostica, const CapacitaCliente& k) {
  return {{"title", c.titolo},
          {"kind", "quickfix"},
          {"isPreferred", true},
          {"diagnostics", json::array({std::move(diagnostica)})},
          {"edit", {{"changes", {{uri, modifiche_lsp(t, c.modifiche, k.unita)}}}}}};
}

json diagnostica_lsp(const Diagnosi& d,
                     const std::function<DocumentoLsp(const std::string&)>& documento,
                     const CapacitaCliente& k) {
  const UnitaPosizione u = k.unita;
  const DocumentoLsp proprio = documento(d.posto.file);
  const auto* nome = std::get_if<std::string>(&d.codice);
  json intervallo = luogo_lsp(d.posto, proprio, u)["range"];
  if (nome != nullptr && *nome == kCarattereSenzaByte && proprio.testo != nullptr &&
      d.posto.riga > 0) {
    // One character, one byte of the compile.
    const PuntoByte inizio{d.posto.riga - 1, d.posto.colonna - 1};
    intervallo = intervallo_lsp(proprio.testo, {inizio, {inizio.riga, inizio.colonna + 1}}, u);
  }
  std::string messaggio = d.messaggio;
  if (!k.informazioni_collegate) {
    for (const Nota& n : d.note) {
      messaggio += "\n" + nota_nel_messaggio(n);
    }
  }
  json v = {{"range", std::move(intervallo)},
            {"severity", d.gravita == Gravita::avviso ? kGravitaAvviso : kGravitaErrore},
            {"source", kNomeServer},
            {"message", std::move(messaggio)}};
  if (const auto* numero = std::get_if<int32_t>(&d.codice)) {
    v["code"] = *numero;
  } else if (nome != nullptr) {
    v["code"] = *nome;
  }
  if (k.informazioni_collegate && !d.note.empty()) {
    json collegate = json::array();
    for (const Nota& n : d.note) {
      collegate.push_back(
          {{"location", luogo_lsp(n.posto, documento(n.posto.file), u)}, {"message", n.messaggio}});
    }
    v["relatedInformation"] = std::move(collegate);
  }
  return v;
}
