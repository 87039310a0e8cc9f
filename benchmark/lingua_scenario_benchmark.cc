// Benchmark of the language server: what a change of a source costs from the editor's message
// to the serialised publications of the problems of the pair, in process (the message parsed
// from its body, handled, each answer dumped and framed) for the built-in pair and for the
// generated 1,000 km line; and the same through the pipes of the built program, from the
// framed change written to the last publication read back.
//
// The line carries three trains, the built-in train source under three numbers: two open with
// the line source, one only in the folder. The change is of the line source: the server then
// compiles the line with each train and publishes the four files, the most a keystroke asks
// of it. The changed text alternates between the source and the source with one value
// changed, so that every change is one.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"
#include "prove/sorgenti_estese.h"
#include "sources/codifica_1252.h"
#include "strumenti/lingua_scenario/canale_lsp.h"
#include "strumenti/lingua_scenario/servizio_sorgenti.h"

namespace {

using nlohmann::json;

constexpr int32_t kLunghezzaIncorporata = 101000;

// The train numbers of the line: the first two open, the last only in the folder.
constexpr const char* kTreni[] = {"4417", "4418", "4419"};
constexpr int kPubblicazioni = 4;  // the line source and its three trains

struct Coppia {
  std::string uri_linea;
  std::vector<std::string> uri_treni;
  std::string linea;  // UTF-8, as the editor holds it
  std::string linea_cambiata;
  std::string treno;
  std::string treno_1252;  // as the folder holds it
};

Coppia coppia(const std::string& cartella, int32_t metri) {
  const SorgentiEstese f = sorgenti_estese(metri);
  Coppia c{
      "file://" + cartella + "/" + nome_file(FileDellaCorsa::sorgente_linea, {kNomeScenario, ""}),
      {},
      da_1252(f.linea),
      "",
      da_1252(f.treno),
      f.treno};
  for (const char* numero : kTreni) {
    c.uri_treni.push_back("file://" + cartella + "/" +
                          nome_file(FileDellaCorsa::sorgente_treno, {kNomeScenario, numero}));
  }
  // One more space before the length's value: another text, the same source to the compile.
  c.linea_cambiata = c.linea;
  c.linea_cambiata.insert(c.linea.find(',', c.linea.find('\n')) + 1, " ");
  return c;
}

std::string corpo_inizio() {
  return json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}
      .dump();
}

std::string corpo_apertura(const std::string& uri, const std::string& testo) {
  return json{{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params",
               {{"textDocument",
                 {{"uri", uri}, {"languageId", "sorgente"}, {"version", 1}, {"text", testo}}}}}}
      .dump();
}

std::string corpo_cambio(const std::string& uri, int versione, const std::string& testo) {
  return json{{"jsonrpc", "2.0"},
              {"method", "textDocument/didChange"},
              {"params",
               {{"textDocument", {{"uri", uri}, {"version", versione}}},
                {"contentChanges", json::array({{{"text", testo}}})}}}}
      .dump();
}

// The body handled as the program handles it; the framed answers.
std::string gestisci(ServizioSorgenti& servizio, const std::string& corpo) {
  std::ostringstream uscita;
  for (const json& r : servizio.ricevi(json::parse(corpo))) {
    scrivi_messaggio(uscita, r.dump(-1, ' ', false, json::error_handler_t::replace));
  }
  return uscita.str();
}

// The publications in `uscita` that found no error. Every source stays valid through every
// change, so a publication with an error means a compile stopped early and the figure
// measures less than the whole line; the timetable check's warnings on the built-in train
// source are part of the work measured.
int pubblicazioni_pulite(const std::string& uscita) {
  int n = 0;
  for (size_t i = uscita.find("publishDiagnostics"); i != std::string::npos;
       i = uscita.find("publishDiagnostics", i + 1)) {
    const size_t fine = std::min(uscita.find("Content-Length", i), uscita.size());
    n += uscita.substr(i, fine - i).find("\"severity\":1") == std::string::npos;
  }
  return n;
}

void CambioInProcesso(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  const std::string cartella = "/memoria";
  const Coppia c = coppia(cartella, metri);
  const std::string cambi[2] = {corpo_cambio(c.uri_linea, 2, c.linea_cambiata),
                                corpo_cambio(c.uri_linea, 3, c.linea)};
  piattaforma::DiscoInMemoria disco;
  disco.file[c.uri_treni[2].substr(std::string("file://").size())] = c.treno_1252;
  ServizioSorgenti servizio(disco);
  gestisci(servizio, corpo_inizio());
  gestisci(servizio, corpo_apertura(c.uri_linea, c.linea));
  gestisci(servizio, corpo_apertura(c.uri_treni[0], c.treno));
  gestisci(servizio, corpo_apertura(c.uri_treni[1], c.treno));
  size_t k = 0;
  size_t byte = 0;
  for (auto _ : state) {
    const std::string uscita = gestisci(servizio, cambi[k++ % 2]);
    if (pubblicazioni_pulite(uscita) != kPubblicazioni) {
      state.SkipWithError("un cambio senza le quattro pubblicazioni senza problemi");
      break;
    }
    byte = uscita.size();
    benchmark::DoNotOptimize(uscita.data());
  }
  state.counters["byte_uscita"] = static_cast<double>(byte);
}

// The inlay hints of a screen of 60 rows of the train source, from the request to the
// serialised answer, the pair's compile included.
void SuggerimentiDiUnoSchermo(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  const Coppia c = coppia("/memoria", metri);
  piattaforma::DiscoInMemoria disco;
  ServizioSorgenti servizio(disco);
  servizio.ricevi(json{{"jsonrpc", "2.0"},
                       {"id", 1},
                       {"method", "initialize"},
                       {"params", {{"capabilities", {{"textDocument", {{"inlayHint", json::object()}}}}}}}});
  gestisci(servizio, corpo_apertura(c.uri_linea, c.linea));
  gestisci(servizio, corpo_apertura(c.uri_treno, c.treno));
  const std::string richiesta =
      json{{"jsonrpc", "2.0"},
           {"id", 2},
           {"method", "textDocument/inlayHint"},
           {"params",
            {{"textDocument", {{"uri", c.uri_treno}}},
             {"range", {{"start", {{"line", 40}, {"character", 0}}}, {"end", {{"line", 99}, {"character", 0}}}}}}}}
          .dump();
  size_t suggerimenti = 0;
  for (auto _ : state) {
    const std::string uscita = gestisci(servizio, richiesta);
    suggerimenti = json::parse(uscita.substr(uscita.find("\r\n\r\n") + 4))["result"].size();
    benchmark::DoNotOptimize(uscita.data());
  }
  // Nearly every row of the screen holds a chainage.
  if (suggerimenti < 40) {
    state.SkipWithError("meno suggerimenti che righe con una progressiva");
  }
}

// The built program over its pipes.
class Server {
 public:
  explicit Server(const std::string& eseguibile) {
    int entrata[2];
    int uscita[2];
    if (pipe(entrata) != 0 || pipe(uscita) != 0) {
      throw std::runtime_error("tubi non creati");
    }
    figlio_ = fork();
    if (figlio_ < 0) {
      throw std::runtime_error("processo non creato");
    }
    if (figlio_ == 0) {
      dup2(entrata[0], STDIN_FILENO);
      dup2(uscita[1], STDOUT_FILENO);
      close(entrata[0]);
      close(entrata[1]);
      close(uscita[0]);
      close(uscita[1]);
      execl(eseguibile.c_str(), eseguibile.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(entrata[0]);
    close(uscita[1]);
    scrivi_ = entrata[1];
    leggi_ = uscita[0];
  }
  ~Server() {
    close(scrivi_);
    close(leggi_);
    kill(figlio_, SIGTERM);
    waitpid(figlio_, nullptr, 0);
  }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  void invia(const std::string& corpo) {
    const std::string m = "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
    for (size_t fatto = 0; fatto < m.size();) {
      const ssize_t n = write(scrivi_, m.data() + fatto, m.size() - fatto);
      if (n <= 0) {
        throw std::runtime_error("server chiuso in scrittura");
      }
      fatto += static_cast<size_t>(n);
    }
  }

  // Reads whole messages until `n` publications have come; false when one found a problem.
  bool attendi_pubblicazioni(int n) {
    bool pulite = true;
    while (n > 0) {
      const std::string corpo = prossimo();
      if (corpo.find("publishDiagnostics") != std::string::npos) {
        pulite = pulite && pubblicazioni_pulite(corpo) == 1;
        --n;
      }
    }
    return pulite;
  }

 private:
  std::string prossimo() {
    for (;;) {
      const size_t fine = dati_.find("\r\n\r\n");
      if (fine != std::string::npos) {
        const size_t lunghezza = std::stoul(dati_.substr(dati_.find(':') + 1, fine));
        if (dati_.size() >= fine + 4 + lunghezza) {
          std::string corpo = dati_.substr(fine + 4, lunghezza);
          dati_.erase(0, fine + 4 + lunghezza);
          return corpo;
        }
      }
      char blocco[65536];
      const ssize_t n = read(leggi_, blocco, sizeof blocco);
      if (n <= 0) {
        throw std::runtime_error("server chiuso in lettura");
      }
      dati_.append(blocco, static_cast<size_t>(n));
    }
  }

  pid_t figlio_ = -1;
  int scrivi_ = -1;
  int leggi_ = -1;
  std::string dati_;
};

void CambioTraiTubi(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  const piattaforma::CartellaTemporanea cartella;
  const Coppia c = coppia(cartella.percorso(), metri);
  const std::string cambi[2] = {corpo_cambio(c.uri_linea, 2, c.linea_cambiata),
                                corpo_cambio(c.uri_linea, 3, c.linea)};
  piattaforma::DiscoReale disco;
  disco.ricrea(c.uri_treni[2].substr(std::string("file://").size()), c.treno_1252);
  Server server(LINGUA_SCENARIO);
  server.invia(corpo_inizio());
  // Each opening answered before the next, so that no publication is left to come.
  server.invia(corpo_apertura(c.uri_treni[0], c.treno));
  server.attendi_pubblicazioni(1);
  server.invia(corpo_apertura(c.uri_treni[1], c.treno));
  server.attendi_pubblicazioni(1);
  server.invia(corpo_apertura(c.uri_linea, c.linea));
  server.attendi_pubblicazioni(kPubblicazioni);
  size_t k = 0;
  for (auto _ : state) {
    server.invia(cambi[k++ % 2]);
    if (!server.attendi_pubblicazioni(kPubblicazioni)) {
      state.SkipWithError("una pubblicazione con problemi");
      break;
    }
  }
}

BENCHMARK(CambioInProcesso)
    ->Arg(kLunghezzaIncorporata)
    ->Arg(1000000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SuggerimentiDiUnoSchermo)
    ->Arg(kLunghezzaIncorporata)
    ->Arg(1000000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CambioTraiTubi)
    ->Arg(kLunghezzaIncorporata)
    ->Arg(1000000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
