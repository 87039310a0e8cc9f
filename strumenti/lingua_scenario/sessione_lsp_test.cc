#include "strumenti/lingua_scenario/sessione_lsp.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/disco_in_memoria.h"
#include "strumenti/lingua_scenario/canale_lsp.h"

using nlohmann::json;

namespace {

std::string framed(const json& m) {
  std::ostringstream out;
  scrivi_messaggio(out, m.dump());
  return out.str();
}

json cambio(const std::string& uri, int versione, const std::string& testo) {
  return {{"jsonrpc", "2.0"},
          {"method", "textDocument/didChange"},
          {"params",
           {{"textDocument", {{"uri", uri}, {"version", versione}}},
            {"contentChanges", json::array({{{"text", testo}}})}}}};
}

struct Servito {
  std::vector<json> messaggi;
  int stato = -1;
};

// Serves `ingresso` whole; with `a_lotti`, the problems wait while more input is there.
Servito servito(const std::string& ingresso, bool a_lotti) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/d/P_linea.txt"] = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
  ServizioSorgenti servizio(disco);
  std::istringstream in(ingresso);
  std::ostringstream out;
  Servito s;
  s.stato = servi(in, out, servizio, [&] { return a_lotti && altro_in_attesa(in); });
  std::istringstream risposte(out.str());
  while (const std::optional<MessaggioLetto> m = leggi_messaggio(risposte)) {
    s.messaggi.push_back(json::parse(m->corpo.value()));
  }
  return s;
}

std::vector<json> pubblicazioni(const Servito& s) {
  std::vector<json> p;
  for (const json& m : s.messaggi) {
    if (m.value("method", "") == "textDocument/publishDiagnostics") {
      p.push_back(m["params"]);
    }
  }
  return p;
}

const std::string kUri = "file:///d/P_7-.txt";

// A burst of changes read at once: one publication, of the last version; read one by one,
// each change has its own.
TEST(Servi, ABurstOfChangesIsPublishedInItsLastVersionOnly) {
  std::string ingresso =
      framed({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}}) +
      framed({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params",
               {{"textDocument", {{"uri", kUri}, {"version", 1}, {"text", "[generale]\r\n"}}}}}});
  for (int v = 2; v <= 1000; ++v) {
    ingresso +=
        framed(cambio(kUri, v, v % 2 ? "[generale]\r\nvelocita, 12a, 100\r\n" : "[generale]\r\n"));
  }
  const Servito a_lotti = servito(ingresso, true);
  ASSERT_EQ(pubblicazioni(a_lotti).size(), 1u);
  EXPECT_EQ(pubblicazioni(a_lotti)[0]["version"], 1000);
  EXPECT_EQ(pubblicazioni(a_lotti)[0]["diagnostics"], json::array());
  EXPECT_EQ(a_lotti.stato, 1);  // the input ended without `exit`

  const Servito uno_a_uno = servito(ingresso, false);
  ASSERT_EQ(pubblicazioni(uno_a_uno).size(), 1000u);
  EXPECT_EQ(pubblicazioni(uno_a_uno)[998]["version"], 999);
  EXPECT_EQ(pubblicazioni(uno_a_uno)[998]["diagnostics"][0]["code"], 25);
}

// A body longer than the server takes is skipped unread: an error, a message for the person,
// and the next request answered.
TEST(Servi, AMessageTooLongIsRefusedAndTheServerGoesOn) {
  const std::string ingresso = framed({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}}) +
                               "Content-Length: " + std::to_string(kCorpoMassimo + 1) + "\r\n\r\n" +
                               std::string(kCorpoMassimo + 1, '[') +
                               framed({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}}) +
                               framed({{"jsonrpc", "2.0"}, {"method", "exit"}}) +
                               framed({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "shutdown"}});
  const Servito s = servito(ingresso, true);
  ASSERT_EQ(s.messaggi.size(), 4u);
  EXPECT_EQ(s.messaggi[1]["id"], nullptr);
  EXPECT_EQ(s.messaggi[1]["error"]["code"], -32600);
  EXPECT_EQ(s.messaggi[2]["method"], "window/showMessage");
  EXPECT_EQ(s.messaggi[3]["id"], 2);
  EXPECT_EQ(s.messaggi[3]["result"], nullptr);
  EXPECT_EQ(s.stato, 0);  // and nothing after `exit` is read
}

}  // namespace
