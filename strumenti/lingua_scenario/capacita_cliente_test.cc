#include "strumenti/lingua_scenario/capacita_cliente.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

// Every optional feature, as the most complete client declares it.
const char* const kTutto = R"({
  "general": {"positionEncodings": ["utf-8", "utf-16"]},
  "textDocument": {
    "completion": {"completionItem": {"snippetSupport": true}},
    "hover": {"contentFormat": ["markdown", "plaintext"]},
    "signatureHelp": {"signatureInformation": {"documentationFormat": ["markdown"]}},
    "publishDiagnostics": {"relatedInformation": true},
    "documentSymbol": {"hierarchicalDocumentSymbolSupport": true},
    "inlayHint": {"dynamicRegistration": false},
    "codeAction": {"codeActionLiteralSupport": {"codeActionKind": {"valueSet": ["quickfix"]}}}},
  "workspace": {"didChangeWatchedFiles": {"dynamicRegistration": true},
                "inlayHint": {"refreshSupport": true}}
})";

TEST(CapacitaCliente, EachFeatureOnlyWhenDeclared) {
  CapacitaCliente tutto;
  tutto.unita = UnitaPosizione::utf8;
  tutto.snippet = tutto.markdown_descrizione = tutto.markdown_firma = true;
  tutto.informazioni_collegate = tutto.simboli_gerarchici = true;
  tutto.registra_file_osservati = tutto.suggerimenti = tutto.rinfresca_suggerimenti = true;
  tutto.azioni_letterali = true;
  CapacitaCliente misto;
  misto.markdown_firma = true;
  misto.simboli_gerarchici = true;
  misto.azioni_letterali = true;
  struct Caso {
    const char* capacita;
    CapacitaCliente attese;
  };
  const Caso casi[] = {
      {kTutto, tutto},
      {"{}", {}},
      {"null", {}},
      // Declared as false, or of the wrong shape: not declared.
      {R"({"textDocument": {"completion": {"completionItem": {"snippetSupport": false}},
           "publishDiagnostics": {"relatedInformation": "si"}, "hover": "markdown",
           "inlayHint": true},
          "general": {"positionEncodings": "utf-8"}})",
       {}},
      // Plain text first is plain text, markdown first is markdown.
      {R"({"textDocument": {"hover": {"contentFormat": ["plaintext", "markdown"]},
           "signatureHelp": {"signatureInformation": {"documentationFormat": ["markdown"]}},
           "documentSymbol": {"hierarchicalDocumentSymbolSupport": true},
           "codeAction": {"codeActionLiteralSupport": {}}},
          "workspace": {"didChangeWatchedFiles": {"dynamicRegistration": false}}})",
       misto},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(capacita_del_cliente(json::parse(c.capacita)), c.attese) << c.capacita;
  }
}

TEST(CapacitaCliente, TheServerCountsInUtf8OnlyWhenOffered) {
  struct Caso {
    const char* capacita;
    UnitaPosizione unita;
  };
  const Caso casi[] = {
      {R"({})", UnitaPosizione::utf16},
      {R"({"general": {"positionEncodings": ["utf-16"]}})", UnitaPosizione::utf16},
      {R"({"general": {"positionEncodings": ["utf-32", "utf-8"]}})", UnitaPosizione::utf8},
      {R"({"general": {"positionEncodings": []}})", UnitaPosizione::utf16},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(unita_offerta(json::parse(c.capacita)), c.unita) << c.capacita;
  }
  EXPECT_STREQ(nome_unita(UnitaPosizione::utf8), "utf-8");
  EXPECT_STREQ(nome_unita(UnitaPosizione::utf16), "utf-16");
}

}  // namespace
