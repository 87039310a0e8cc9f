#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include <gtest/gtest.h>

#include "platform/disco_in_memoria.h"

using nlohmann::json;

namespace {

json richiesta(int id, const char* metodo, json parametri = json::object()) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", std::move(parametri)}};
}

json notifica(const char* metodo, json parametri = json::object()) {
  return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}

// The error code of the one answer, 0 for a result.
int codice(const std::vector<json>& risposte) {
  EXPECT_EQ(risposte.size(), 1u);
  if (risposte.empty()) {
    return -1;
  }
  return risposte[0].contains("error") ? risposte[0]["error"]["code"].get<int>() : 0;
}

TEST(ServizioSorgenti, TheLifecycle) {
  piattaforma::DiscoInMemoria disco;
  ServizioSorgenti s(disco);
  EXPECT_EQ(codice(s.ricevi(richiesta(1, "textDocument/hover"))), -32002);
  EXPECT_EQ(codice(s.ricevi(richiesta(2, "initialize"))), 0);
  EXPECT_EQ(codice(s.ricevi(richiesta(3, "sconosciuto"))), -32601);
  EXPECT_EQ(codice(s.ricevi(richiesta(4, "textDocument/hover", {{"textDocument", 1}}))), -32602);
  EXPECT_EQ(codice(s.ricevi(json::array())), -32600);
  EXPECT_EQ(codice(s.ricevi({{"id", 5}})), -32600);
  EXPECT_TRUE(s.ricevi(notifica("sconosciuta")).empty());
  EXPECT_EQ(codice(s.ricevi(richiesta(6, "shutdown"))), 0);
  EXPECT_EQ(codice(s.ricevi(richiesta(7, "initialize"))), -32600);
  EXPECT_FALSE(s.finito());
  EXPECT_TRUE(s.ricevi(notifica("exit")).empty());
  EXPECT_TRUE(s.finito());
  EXPECT_EQ(s.stato_uscita(), 0);
}

TEST(ServizioSorgenti, ExitWithoutShutdownEndsWithStatusOne) {
  piattaforma::DiscoInMemoria disco;
  ServizioSorgenti s(disco);
  s.ricevi(notifica("exit"));
  EXPECT_TRUE(s.finito());
  EXPECT_EQ(s.stato_uscita(), 1);
}

// An open train source is published again when its line source changes, and emptied when it
// closes; a notification before `initialize` is ignored.
TEST(ServizioSorgenti, OpenDocumentsArePublishedWithTheirPair) {
  piattaforma::DiscoInMemoria disco;
  ServizioSorgenti s(disco);
  const json apri_treno =
      notifica("textDocument/didOpen",
               {{"textDocument",
                 {{"uri", "file:///d/P_7-.txt"}, {"text", "[generale]\r\nvelocita, 0, 100\r\n"}}}});
  EXPECT_TRUE(s.ricevi(apri_treno).empty());
  s.ricevi(richiesta(1, "initialize"));
  ASSERT_EQ(s.ricevi(apri_treno).size(), 1u);
  const std::vector<json> linea =
      s.ricevi(notifica("textDocument/didOpen",
                        {{"textDocument",
                          {{"uri", "file:///d/P_linea.txt"},
                           {"text", "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n"}}}}));
  ASSERT_EQ(linea.size(), 2u);
  EXPECT_EQ(linea[0]["params"]["uri"], "file:///d/P_linea.txt");
  EXPECT_EQ(linea[1]["params"]["uri"], "file:///d/P_7-.txt");
  const std::vector<json> chiusa = s.ricevi(
      notifica("textDocument/didClose", {{"textDocument", {{"uri", "file:///d/P_linea.txt"}}}}));
  ASSERT_EQ(chiusa.size(), 2u);
  EXPECT_EQ(chiusa[0]["params"]["diagnostics"], json::array());
  EXPECT_EQ(chiusa[1]["params"]["uri"], "file:///d/P_7-.txt");
}

}  // namespace
