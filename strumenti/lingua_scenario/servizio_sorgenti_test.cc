#include "strumenti/lingua_scenario/servizio_sorgenti.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/disco_in_memoria.h"
#include "strumenti/lingua_scenario/canale_lsp.h"

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

// The publications among `uscita`, by URI: the problems' codes of each, in order.
std::map<std::string, std::vector<json>> codici_pubblicati(const std::vector<json>& uscita) {
  std::map<std::string, std::vector<json>> codici;
  for (const json& m : uscita) {
    if (m.value("method", "") == "textDocument/publishDiagnostics") {
      std::vector<json>& c = codici[m["params"]["uri"]];
      c.clear();
      for (const json& d : m["params"]["diagnostics"]) {
        c.push_back(d.value("code", json()));
      }
    }
  }
  return codici;
}

const char* const kLineaTre =
    "[generale]\r\nlunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 20000, 1\r\n"
    "[fine]\r\n";

std::string treno_con_velocita_a(int metri) {
  return "[generale]\r\nvelocita, " + std::to_string(metri) + ", 100\r\n[fine]\r\n";
}

// A line with three trains, two open and one only on the disk. A change of the line source
// publishes every one of them: a shorter line leaves two with a row beyond the track, and the
// third clean. The line source's hover reads it with its first train, and says so.
TEST(ServizioSorgenti, ALineChangePublishesEachOfItsTrains) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_4419-.txt"] = treno_con_velocita_a(18000);
  disco.file["/d/Q_1-.txt"] = treno_con_velocita_a(18000);  // another scenario's
  ServizioSorgenti s(disco);
  s.ricevi(richiesta(1, "initialize"));
  const auto apri = [&s](const std::string& uri, const std::string& testo) {
    return s.ricevi(notifica("textDocument/didOpen",
                             {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", testo}}}}));
  };
  apri("file:///d/P_4417-.txt", treno_con_velocita_a(19000));
  apri("file:///d/P_4418-.txt", treno_con_velocita_a(15000));
  const std::vector<json> aperta = apri("file:///d/P_linea.txt", kLineaTre);
  using Codici = std::map<std::string, std::vector<json>>;
  EXPECT_EQ(codici_pubblicati(aperta), (Codici{{"file:///d/P_linea.txt", {}},
                                               {"file:///d/P_4417-.txt", {}},
                                               {"file:///d/P_4418-.txt", {}},
                                               {"file:///d/P_4419-.txt", {}}}));
  const std::string piu_corta =
      std::string(kLineaTre).replace(std::string(kLineaTre).find("20000"), 5, "10000");
  const std::vector<json> cambiata =
      s.ricevi(notifica("textDocument/didChange",
                        {{"textDocument", {{"uri", "file:///d/P_linea.txt"}, {"version", 2}}},
                         {"contentChanges", json::array({{{"text", piu_corta}}})}}));
  ASSERT_EQ(cambiata.size(), 4u);
  EXPECT_EQ(cambiata[0]["params"]["uri"], "file:///d/P_linea.txt");
  EXPECT_EQ(cambiata[0]["params"]["version"], 2);
  EXPECT_EQ(codici_pubblicati(cambiata), (Codici{{"file:///d/P_linea.txt", {}},
                                                 {"file:///d/P_4417-.txt", {15}},
                                                 {"file:///d/P_4418-.txt", {}},
                                                 {"file:///d/P_4419-.txt", {15}}}));
  // The train source not open has no version to give.
  for (const json& m : cambiata) {
    EXPECT_EQ(m["params"].contains("version"), m["params"]["uri"] != "file:///d/P_4419-.txt")
        << m.dump();
  }

  const std::vector<json> descritta =
      s.ricevi(richiesta(2, "textDocument/hover",
                         {{"textDocument", {{"uri", "file:///d/P_linea.txt"}}},
                          {"position", {{"line", 1}, {"character", 2}}}}));
  ASSERT_EQ(descritta.size(), 1u);
  EXPECT_NE(descritta[0]["result"]["contents"]["value"].get<std::string>().find(
                "con il treno 4417, il primo per nome"),
            std::string::npos)
      << descritta[0].dump();

  // A change of one train source publishes it and the line source, not the other trains.
  const std::vector<json> treno = s.ricevi(
      notifica("textDocument/didChange",
               {{"textDocument", {{"uri", "file:///d/P_4417-.txt"}, {"version", 2}}},
                {"contentChanges", json::array({{{"text", treno_con_velocita_a(1000)}}})}}));
  EXPECT_EQ(codici_pubblicati(treno),
            (Codici{{"file:///d/P_4417-.txt", {}}, {"file:///d/P_linea.txt", {}}}));

  // Closed, the line source leaves its open trains to the disk, which has no line source (a
  // problem of the line source's own), and empties the other.
  const std::vector<json> chiusa = s.ricevi(
      notifica("textDocument/didClose", {{"textDocument", {{"uri", "file:///d/P_linea.txt"}}}}));
  EXPECT_EQ(codici_pubblicati(chiusa), (Codici{{"file:///d/P_linea.txt", {}},
                                               {"file:///d/P_4417-.txt", {}},
                                               {"file:///d/P_4418-.txt", {}},
                                               {"file:///d/P_4419-.txt", {}}}));
}

// A train source whose name holds "_" in its scenario and in its number finds its line source
// in its folder, and a change of that line source publishes it.
TEST(ServizioSorgenti, ATrainSourceFindsItsLineSourceByTheFolder) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/Linea_A_linea.txt"] = kLineaTre;
  ServizioSorgenti s(disco);
  s.ricevi(richiesta(1, "initialize"));
  const std::vector<json> aperta = s.ricevi(notifica(
      "textDocument/didOpen",
      {{"textDocument",
        {{"uri", "file:///d/Linea_A_44_17-.txt"}, {"text", treno_con_velocita_a(1000)}}}}));
  using Codici = std::map<std::string, std::vector<json>>;
  EXPECT_EQ(codici_pubblicati(aperta), (Codici{{"file:///d/Linea_A_44_17-.txt", {}}}));
  const std::vector<json> linea = s.ricevi(
      notifica("textDocument/didOpen",
               {{"textDocument", {{"uri", "file:///d/Linea_A_linea.txt"}, {"text", kLineaTre}}}}));
  EXPECT_EQ(codici_pubblicati(linea),
            (Codici{{"file:///d/Linea_A_linea.txt", {}}, {"file:///d/Linea_A_44_17-.txt", {}}}));
}

// Changes handed over as one batch are compiled once, in their last version; a request among
// them is answered at once, with the text of its moment.
TEST(ServizioSorgenti, ABatchOfChangesIsPublishedOnceInItsLastVersion) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_linea.txt"] = kLineaTre;
  ServizioSorgenti s(disco);
  s.ricevi(richiesta(1, "initialize"));
  const std::string uri = "file:///d/P_7-.txt";
  s.ricevi(
      notifica("textDocument/didOpen",
               {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", "[generale]\r\n"}}}}));
  std::vector<json> uscita;
  for (int v = 2; v <= 1000; ++v) {
    const std::string testo = v == 1000 ? "[generale]\r\nvelocita, 12a, 100\r\n" : "[generale]\r\n";
    for (json& r : s.accogli(notifica("textDocument/didChange",
                                      {{"textDocument", {{"uri", uri}, {"version", v}}},
                                       {"contentChanges", json::array({{{"text", testo}}})}}))) {
      uscita.push_back(std::move(r));
    }
    if (v == 500) {
      const std::vector<json> r = s.accogli(
          richiesta(2, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}));
      ASSERT_EQ(r.size(), 1u);
      EXPECT_TRUE(r[0].contains("result")) << r[0].dump();
    }
  }
  EXPECT_TRUE(uscita.empty());
  const std::vector<json> pubblicate = s.pubblica_in_attesa();
  ASSERT_EQ(pubblicate.size(), 1u);
  EXPECT_EQ(pubblicate[0]["params"]["version"], 1000);
  EXPECT_EQ(codici_pubblicati(pubblicate)[uri], std::vector<json>{25});
  EXPECT_TRUE(s.pubblica_in_attesa().empty());
}

// A text longer than the server reads is refused with a problem that says so; the document
// keeps its last text, and the server goes on.
TEST(ServizioSorgenti, ATextTooLongIsRefused) {
  piattaforma::DiscoInMemoria disco;
  ServizioSorgenti s(disco);
  s.ricevi(richiesta(1, "initialize"));
  const std::string lungo(kTestoMassimo + 1, ' ');
  const std::vector<json> mai_aperto =
      s.ricevi(notifica("textDocument/didOpen",
                        {{"textDocument", {{"uri", "file:///d/A_1-.txt"}, {"text", lungo}}}}));
  EXPECT_EQ(codici_pubblicati(mai_aperto)["file:///d/A_1-.txt"],
            std::vector<json>{"testo-troppo-lungo"});
  EXPECT_EQ(codice(s.ricevi(richiesta(2, "textDocument/formatting",
                                      {{"textDocument", {{"uri", "file:///d/A_1-.txt"}}}}))),
            -32602);

  const std::string uri = "file:///d/B_1-.txt";
  s.ricevi(notifica(
      "textDocument/didOpen",
      {{"textDocument", {{"uri", uri}, {"text", "[generale]\r\nvelocita, 0,  100\r\n"}}}}));
  const std::vector<json> rifiutato = s.ricevi(notifica(
      "textDocument/didChange",
      {{"textDocument", {{"uri", uri}}}, {"contentChanges", json::array({{{"text", lungo}}})}}));
  EXPECT_EQ(codici_pubblicati(rifiutato)[uri], std::vector<json>{"testo-troppo-lungo"});
  const std::vector<json> formattato =
      s.ricevi(richiesta(3, "textDocument/formatting", {{"textDocument", {{"uri", uri}}}}));
  ASSERT_EQ(codice(formattato), 0);
  EXPECT_EQ(formattato[0]["result"][0]["newText"], "[generale]\r\nvelocita, 0, 100\r\n");
  // A text of the limit's length is read.
  const std::string al_limite = "[generale]\r\n" + std::string(kTestoMassimo - 12, ' ');
  const std::vector<json> letto = s.ricevi(notifica(
      "textDocument/didChange", {{"textDocument", {{"uri", uri}}},
                                 {"contentChanges", json::array({{{"text", al_limite}}})}}));
  EXPECT_EQ(codici_pubblicati(letto)[uri], std::vector<json>{});
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
