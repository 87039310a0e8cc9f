#include "strumenti/lingua_scenario/capacita_cliente.h"

#include <initializer_list>
#include <string_view>

using nlohmann::json;

namespace {

// The value at the end of `chiavi` under `j`; null when a step is missing or no object.
const json& sotto(const json& j, std::initializer_list<std::string_view> chiavi) {
  static const json kNulla;
  const json* v = &j;
  for (const std::string_view k : chiavi) {
    if (!v->is_object()) {
      return kNulla;
    }
    const auto trovato = v->find(k);
    if (trovato == v->end()) {
      return kNulla;
    }
    v = &*trovato;
  }
  return *v;
}

bool vero(const json& j, std::initializer_list<std::string_view> chiavi) {
  const json& v = sotto(j, chiavi);
  return v.is_boolean() && v.get<bool>();
}

// A list of formats in the client's order of preference: markdown when it comes before plain
// text; plain text when neither is there.
bool preferisce_markdown(const json& formati) {
  if (!formati.is_array()) {
    return false;
  }
  for (const json& f : formati) {
    if (f == "markdown") {
      return true;
    }
    if (f == "plaintext") {
      return false;
    }
  }
  return false;
}

}  // namespace

CapacitaCliente capacita_del_cliente(const json& c) {
  CapacitaCliente k;
  k.unita = unita_offerta(c);
  k.snippet = vero(c, {"textDocument", "completion", "completionItem", "snippetSupport"});
  k.markdown_descrizione =
      preferisce_markdown(sotto(c, {"textDocument", "hover", "contentFormat"}));
  k.markdown_firma = preferisce_markdown(
      sotto(c, {"textDocument", "signatureHelp", "signatureInformation", "documentationFormat"}));
  k.informazioni_collegate = vero(c, {"textDocument", "publishDiagnostics", "relatedInformation"});
  k.simboli_gerarchici =
      vero(c, {"textDocument", "documentSymbol", "hierarchicalDocumentSymbolSupport"});
  k.registra_file_osservati =
      vero(c, {"workspace", "didChangeWatchedFiles", "dynamicRegistration"});
  k.suggerimenti = sotto(c, {"textDocument", "inlayHint"}).is_object();
  k.rinfresca_suggerimenti = vero(c, {"workspace", "inlayHint", "refreshSupport"});
  k.azioni_letterali =
      sotto(c, {"textDocument", "codeAction", "codeActionLiteralSupport"}).is_object();
  return k;
}

UnitaPosizione unita_offerta(const json& c) {
  const json& codifiche = sotto(c, {"general", "positionEncodings"});
  if (codifiche.is_array()) {
    for (const json& e : codifiche) {
      if (e == "utf-8") {
        return UnitaPosizione::utf8;
      }
    }
  }
  return UnitaPosizione::utf16;
}

const char* nome_unita(UnitaPosizione u) {
  return u == UnitaPosizione::utf8 ? "utf-8" : "utf-16";
}
