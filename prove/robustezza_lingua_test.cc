#include "prove/robustezza_lingua.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/disco_reale.h"

namespace {

// Every input of the language server's fuzz corpus, the seeds and the inputs of earlier
// findings, is served with every property holding.
TEST(RobustezzaLingua, OgniIngressoDelCorpus) {
  piattaforma::DiscoReale disco;
  std::map<std::string, std::string> ingressi;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_LINGUA_SCENARIO)) {
    ingressi[voce.path().filename().string()] = disco.leggi(voce.path().string());
  }
  ASSERT_GE(ingressi.size(), 4u) << "corpus senza i suoi semi";
  for (const auto& [nome, ingresso] : ingressi) {
    EXPECT_EQ(servi_e_verifica(ingresso), "") << nome;
  }
}

// The check of a written message finds each fault it looks for.
TEST(RobustezzaLingua, OgniMessaggioScrittoSiVerifica) {
  using nlohmann::json;
  struct Caso {
    json messaggio;
    bool buono;
  };
  const Caso casi[] = {
      {{{"jsonrpc", "2.0"}, {"id", 1}, {"result", nullptr}}, true},
      {{{"jsonrpc", "2.0"}, {"id", nullptr}, {"error", {{"code", -32700}, {"message", "x"}}}},
       true},
      {{{"jsonrpc", "2.0"},
        {"method", "textDocument/publishDiagnostics"},
        {"params", {{"uri", "file:///a"}, {"diagnostics", json::array()}}}},
       true},
      {{{"jsonrpc", "2.0"},
        {"id", 1},
        {"method", "client/registerCapability"},
        {"params", json::object()}},
       true},
      {{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "client/registerCapability"}, {"result", 1}},
       false},
      {{{"id", 1}, {"result", nullptr}}, false},
      {{{"jsonrpc", "2.0"}, {"id", 1}}, false},
      {{{"jsonrpc", "2.0"}, {"id", 1}, {"result", 1}, {"error", {{"code", 1}}}}, false},
      {{{"jsonrpc", "2.0"}, {"id", 1}, {"error", {{"message", "x"}}}}, false},
      {{{"jsonrpc", "2.0"}, {"params", json::object()}}, false},
      {{{"jsonrpc", "2.0"},
        {"method", "textDocument/publishDiagnostics"},
        {"params", {{"uri", "file:///a"}}}},
       false},
      {json::array(), false},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(verifica_messaggio_scritto(c.messaggio).empty(), c.buono) << c.messaggio.dump();
  }
}

}  // namespace
