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

namespace {

// What the server offers and sends follows what the client declared: inlay hints and code
// actions only to a client that takes them, a registration of watched files only to one that
// registers them.
TEST(ServizioSorgenti, TheClientsCapabilitiesDecideWhatIsOffered) {
  struct Caso {
    const char* capacita;
    bool suggerimenti;
    bool azioni;
    bool registrazione;
  };
  const Caso casi[] = {
      {R"({"textDocument": {"inlayHint": {}, "codeAction": {"codeActionLiteralSupport": {}}},
           "workspace": {"didChangeWatchedFiles": {"dynamicRegistration": true}}})",
       true, true, true},
      {"{}", false, false, false},
      {R"({"textDocument": {"codeAction": {"codeActionLiteralSupport": {}}}})", false, true, false},
  };
  for (const Caso& c : casi) {
    piattaforma::DiscoInMemoria disco;
    disco.file["/d/P_linea.txt"] =
        "[generale]\r\nlunghezza percorso, 20000\r\n"
        "progressiva chilometrica uno, 0, 30000, 1\r\n[fine]\r\n";
    ServizioSorgenti s(disco);
    const std::vector<json> inizio =
        s.ricevi(richiesta(1, "initialize", {{"capabilities", json::parse(c.capacita)}}));
    ASSERT_EQ(inizio.size(), 1u);
    const json& offerte = inizio[0]["result"]["capabilities"];
    EXPECT_EQ(offerte.contains("inlayHintProvider"), c.suggerimenti) << c.capacita;
    EXPECT_EQ(offerte.contains("codeActionProvider"), c.azioni) << c.capacita;
    const std::vector<json> pronto = s.ricevi(notifica("initialized"));
    ASSERT_EQ(pronto.size(), c.registrazione ? 1u : 0u) << c.capacita;
    if (c.registrazione) {
      EXPECT_EQ(pronto[0]["method"], "client/registerCapability");
      const json& osservati =
          pronto[0]["params"]["registrations"][0]["registerOptions"]["watchers"];
      EXPECT_EQ(osservati, json::parse(R"([{"globPattern": "**/*_linea.txt"},
        {"globPattern": "**/*_*-.txt"}, {"globPattern": "**/*_marcia.txt"}])"));
    }
    const std::string uri = "file:///d/P_7-.txt";
    s.ricevi(
        notifica("textDocument/didOpen", {{"textDocument",
                                           {{"uri", uri},
                                            {"text",
                                             "segnale, 10, 1,0,0,0, 0, 0,0,0,0, 0\r\n"
                                             "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n"}}}}));
    const json tutto = {{"start", {{"line", 0}, {"character", 0}}},
                        {"end", {{"line", 9}, {"character", 0}}}};
    const std::vector<json> h = s.ricevi(richiesta(
        2, "textDocument/inlayHint", {{"textDocument", {{"uri", uri}}}, {"range", tutto}}));
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0]["result"].size(), c.suggerimenti ? 1u : 0u) << h[0];
    if (c.suggerimenti) {
      EXPECT_EQ(h[0]["result"][0]["label"], "km 30.000");
    }
    const std::vector<json> a =
        s.ricevi(richiesta(3, "textDocument/codeAction",
                           {{"textDocument", {{"uri", uri}}},
                            {"range", tutto},
                            {"context", {{"diagnostics", json::array()}}}}));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(a[0]["result"].size(), c.azioni ? 1u : 0u) << a[0];
    if (c.azioni) {
      EXPECT_EQ(a[0]["result"][0]["title"], "sposta la riga sotto [generale]");
      EXPECT_EQ(a[0]["result"][0]["diagnostics"][0]["code"], "prima-di-generale");
    }
  }
}

// A file changed on the disk publishes again the open sources of its folder.
TEST(ServizioSorgenti, AChangedFileOnTheDiskPublishesItsFolderAgain) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_linea.txt"] = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
  ServizioSorgenti s(disco);
  s.ricevi(richiesta(1, "initialize"));
  s.ricevi(notifica("textDocument/didOpen",
                    {{"textDocument",
                      {{"uri", "file:///d/P_7-.txt"},
                       {"text", "[generale]\r\nvelocita, 19000, 100\r\n[fine]\r\n"}}}}));
  disco.file["/d/P_linea.txt"] = "[generale]\r\nlunghezza percorso, 10000\r\n[fine]\r\n";
  const std::vector<json> altrove =
      s.ricevi(notifica("workspace/didChangeWatchedFiles",
                        {{"changes", {{{"uri", "file:///e/P_linea.txt"}, {"type", 2}}}}}));
  EXPECT_TRUE(altrove.empty());
  const std::vector<json> qui =
      s.ricevi(notifica("workspace/didChangeWatchedFiles",
                        {{"changes", {{{"uri", "file:///d/P_linea.txt"}, {"type", 2}}}}}));
  ASSERT_EQ(qui.size(), 1u);
  EXPECT_EQ(qui[0]["params"]["uri"], "file:///d/P_7-.txt");
  EXPECT_EQ(qui[0]["params"]["diagnostics"][0]["code"], 15);
}

}  // namespace
