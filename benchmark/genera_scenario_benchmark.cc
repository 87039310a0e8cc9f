// Benchmark of the whole job: what the built-in run costs beside the bare writing of its eight
// files, what the compile and the serialisation cost alone, and how the job grows with the
// length of the line. Everything timed runs in one temporary folder.
//
// Peak resident memory of a line length is read in a fresh process of this same program
// (started with --picco-memoria and the length), which does the whole job for that length and
// then reports the high-water mark of its own memory map (VmHWM). A fresh process is needed:
// the timed runs in this process leave its high-water mark at their largest, and the maximum
// that getrusage reports for a child counts the memory of the parent it was forked from.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_load.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/scrivi_binario.h"
#include "model/nomi_file.h"
#include "platform/file_system.h"
#include "prove/cartella_temporanea.h"
#include "prove/sorgenti_estese.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

constexpr std::string_view kOpzionePicco = "--picco-memoria";
constexpr double kByteInMiB = 1024.0 * 1024.0;

// The folder of every benchmark, created by main.
const piattaforma::CartellaTemporanea* cartella_di_lavoro = nullptr;
// A compile that did not end with code 0 measured something other than the whole job.
bool misura_fallita = false;

const std::string& cartella() {
  return cartella_di_lavoro->percorso();
}

// Each benchmark starts from an empty folder.
void svuota_cartella() {
  for (const auto& voce : std::filesystem::directory_iterator(cartella())) {
    std::filesystem::remove_all(voce.path());
  }
}

Scenario scenario_incorporato() {
  Scenario s;
  s.nome_scenario = kNomeScenario;
  s.numero_treno = kNumeroTreno;
  return s;
}

// Fails the benchmark when the compile recorded a problem: the rest of the job (the pass and
// the files) would then not have been measured as the built-in run does it.
bool compilato_senza_errori(benchmark::State& state, const Scenario& s, const std::string& cosa) {
  if (s.codice_errore == 0 && !s.percorso.empty()) {
    return true;
  }
  const std::string messaggio = cosa + ": codice_errore " + std::to_string(s.codice_errore) +
                                ", posizione_errore " + std::to_string(s.posizione_errore);
  std::fprintf(stderr, "MISURA NON VALIDA: %s\n", messaggio.c_str());
  misura_fallita = true;
  state.SkipWithError(messaggio.c_str());
  return false;
}

// Standard output goes to /dev/null while it lives: the run prints its wait line every time.
class UscitaMuta {
 public:
  UscitaMuta() {
    std::fflush(stdout);
    salvata_ = dup(STDOUT_FILENO);
    const int nulla = open("/dev/null", O_WRONLY);
    if (salvata_ < 0 || nulla < 0 || dup2(nulla, STDOUT_FILENO) < 0) {
      throw std::runtime_error("uscita standard non deviata");
    }
    close(nulla);
  }
  ~UscitaMuta() {
    std::fflush(stdout);
    dup2(salvata_, STDOUT_FILENO);
    close(salvata_);
  }
  UscitaMuta(const UscitaMuta&) = delete;
  UscitaMuta& operator=(const UscitaMuta&) = delete;

 private:
  int salvata_ = -1;
};

// ---- The built-in job and the I/O floor ------------------------------------------------

// One file of the built-in run: its name, its bytes, and whether the compile deletes it.
struct FileDelLavoro {
  std::string nome;
  std::string byte;
  bool sorgente;
};

// The five texts come before the three binary files.
constexpr size_t kTestiDelLavoro = 5;

// The eight files in the order the run writes them, with the bytes the run leaves.
std::vector<FileDelLavoro> file_del_lavoro() {
  const Scenario s = scenario_incorporato();
  dati_linea(s, cartella());
  dati_treno(s, cartella());
  std::vector<FileDelLavoro> file;
  for (const std::string& nome : {nome_sorgente_linea(s), nome_sorgente_treno(s)}) {
    file.push_back(
        {nome, piattaforma::leggi_file(piattaforma::percorso_in(cartella(), nome)), true});
  }
  {
    const UscitaMuta muta;
    Scenario lavoro;
    Form_Load(lavoro, cartella());
  }
  for (const std::string& nome :
       {nome_note(s), nome_rallentamenti(s), nome_scheda(s), nome_file_tracciato(s),
        nome_file_voci(s), nome_file_percorso(s)}) {
    file.push_back(
        {nome, piattaforma::leggi_file(piattaforma::percorso_in(cartella(), nome)), false});
  }
  return file;
}

[[noreturn]] void guasto(const char* operazione, const std::string& percorso) {
  throw std::runtime_error(std::string("impossibile ") + operazione + " " + percorso + ": " +
                           std::strerror(errno));
}

// The file recreated as the run recreates its files (opened for appending, which creates it,
// closed, deleted, created anew), then written with plain write calls, no buffer in between.
void ricrea_senza_buffer(const std::string& percorso, std::string_view byte) {
  int fd = open(percorso.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
  if (fd < 0 || close(fd) != 0) {
    guasto("creare", percorso);
  }
  if (unlink(percorso.c_str()) != 0) {
    guasto("eliminare", percorso);
  }
  fd = open(percorso.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    guasto("creare", percorso);
  }
  while (!byte.empty()) {
    const ssize_t scritti = write(fd, byte.data(), byte.size());
    if (scritti <= 0) {
      guasto("scrivere", percorso);
    }
    byte.remove_prefix(static_cast<size_t>(scritti));
  }
  if (close(fd) != 0) {
    guasto("chiudere", percorso);
  }
}

// The least the run's files demand: the same bytes into the same files, recreated the same
// way, and the two sources deleted after the texts, where the compile reads and deletes them.
void pavimento(const std::vector<FileDelLavoro>& file) {
  for (size_t i = 0; i < file.size(); ++i) {
    if (i == kTestiDelLavoro) {
      for (const FileDelLavoro& f : file) {
        const std::string percorso = piattaforma::percorso_in(cartella(), f.nome);
        if (f.sorgente && unlink(percorso.c_str()) != 0) {
          guasto("eliminare", percorso);
        }
      }
    }
    ricrea_senza_buffer(piattaforma::percorso_in(cartella(), file[i].nome), file[i].byte);
  }
}

int64_t byte_totali(const std::vector<FileDelLavoro>& file) {
  int64_t n = 0;
  for (const FileDelLavoro& f : file) {
    n += static_cast<int64_t>(f.byte.size());
  }
  return n;
}

// The whole built-in run: five texts, the compile, three binary files.
void LavoroCompleto(benchmark::State& state) {
  svuota_cartella();
  const UscitaMuta muta;
  for (auto _ : state) {
    Scenario s;
    Form_Load(s, cartella());
    if (!compilato_senza_errori(state, s, "lavoro incorporato")) {
      break;
    }
  }
}

// The I/O floor of the same run.
void PavimentoIO(benchmark::State& state) {
  svuota_cartella();
  const std::vector<FileDelLavoro> file = file_del_lavoro();
  for (auto _ : state) {
    pavimento(file);
  }
  state.SetBytesProcessed(state.iterations() * byte_totali(file));
}

// The whole run against its I/O floor, one after the other in every iteration so that both
// meet the same machine and the same state of the folder; the ratio of their total times.
void LavoroSuPavimento(benchmark::State& state) {
  using Orologio = std::chrono::steady_clock;
  svuota_cartella();
  const std::vector<FileDelLavoro> file = file_del_lavoro();
  const UscitaMuta muta;
  Orologio::duration lavoro{};
  Orologio::duration pavimento_totale{};
  for (auto _ : state) {
    const auto t0 = Orologio::now();
    bool valido = false;
    {
      Scenario s;
      Form_Load(s, cartella());
      valido = compilato_senza_errori(state, s, "lavoro incorporato");
    }
    const auto t1 = Orologio::now();
    if (!valido) {
      return;
    }
    pavimento(file);
    const auto t2 = Orologio::now();
    lavoro += t1 - t0;
    pavimento_totale += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  const double ms_lavoro = std::chrono::duration<double, std::milli>(lavoro).count();
  const double ms_pavimento = std::chrono::duration<double, std::milli>(pavimento_totale).count();
  state.counters["lavoro_ms"] = ms_lavoro / n;
  state.counters["pavimento_ms"] = ms_pavimento / n;
  state.counters["rapporto"] = ms_lavoro / ms_pavimento;
}

// ---- The compile alone and the serialisation alone --------------------------------------

// The compile driver from the two built-in sources already on disk, as the writers leave them:
// reading, the pass, the stamps and the three binary files.
void Compilazione(benchmark::State& state) {
  svuota_cartella();
  for (auto _ : state) {
    state.PauseTiming();
    Scenario s = scenario_incorporato();
    dati_linea(s, cartella());
    dati_treno(s, cartella());
    state.ResumeTiming();
    memorizza_percorso(s, cartella(), 1);
    if (!compilato_senza_errori(state, s, "compilazione incorporata")) {
      break;
    }
  }
}

// The three images of the built-in model, in memory, without files.
void Serializzazione(benchmark::State& state) {
  svuota_cartella();
  Scenario s;
  {
    const UscitaMuta muta;
    Form_Load(s, cartella());
  }
  if (!compilato_senza_errori(state, s, "lavoro incorporato")) {
    return;
  }
  int64_t byte = 0;
  for (auto _ : state) {
    const std::string tracciato = immagine_tracciato(s.tracciato);
    const std::string voci = immagine_voci(s.voci);
    const std::string percorso = immagine_percorso(s.percorso);
    benchmark::DoNotOptimize(tracciato.data());
    benchmark::DoNotOptimize(voci.data());
    benchmark::DoNotOptimize(percorso.data());
    byte = static_cast<int64_t>(tracciato.size() + voci.size() + percorso.size());
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// ---- Growth with the length of the line -----------------------------------------------

// "VmHWM" of this process, in bytes.
int64_t picco_di_questo_processo() {
  std::ifstream stato("/proc/self/status");
  std::string riga;
  while (std::getline(stato, riga)) {
    if (riga.starts_with("VmHWM:")) {
      return std::stoll(riga.substr(6)) * 1024;
    }
  }
  throw std::runtime_error("VmHWM non trovato in /proc/self/status");
}

// The child's side: the whole job for a line of `metri` in a folder of its own; prints the
// peak in bytes, or fails.
int misura_picco(int32_t metri) {
  const piattaforma::CartellaTemporanea propria;
  Scenario s = scenario_incorporato();
  scrivi_sorgenti(s, propria.percorso(), sorgenti_estese(s, propria.percorso(), metri));
  memorizza_percorso(s, propria.percorso(), 1);
  if (s.codice_errore != 0 || s.percorso.empty()) {
    std::fprintf(stderr, "MISURA NON VALIDA: linea di %d m, codice_errore %d\n", metri,
                 s.codice_errore);
    return 1;
  }
  std::printf("%lld\n", static_cast<long long>(picco_di_questo_processo()));
  return 0;
}

// The parent's side: runs this program as the child above and reads its answer.
int64_t picco_in_processo_nuovo(int32_t metri) {
  const std::string eseguibile = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string argomento = std::to_string(metri);
  int tubo[2];
  if (pipe(tubo) != 0) {
    throw std::runtime_error("pipe non creata");
  }
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t figlio = fork();
  if (figlio < 0) {
    throw std::runtime_error("fork non riuscita");
  }
  if (figlio == 0) {
    dup2(tubo[1], STDOUT_FILENO);
    close(tubo[0]);
    close(tubo[1]);
    execl(eseguibile.c_str(), eseguibile.c_str(), kOpzionePicco.data(), argomento.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(tubo[1]);
  std::string risposta;
  char blocco[256];
  ssize_t letti = 0;
  while ((letti = read(tubo[0], blocco, sizeof blocco)) > 0) {
    risposta.append(blocco, static_cast<size_t>(letti));
  }
  close(tubo[0]);
  int stato = 0;
  if (waitpid(figlio, &stato, 0) != figlio || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0 ||
      risposta.empty()) {
    throw std::runtime_error("misura del picco di memoria non riuscita per " + argomento + " m");
  }
  return std::stoll(risposta);
}

// Measured once per length: a fresh process for each measurement.
int64_t picco(int32_t metri) {
  static std::map<int32_t, int64_t> misurati;
  const auto trovato = misurati.find(metri);
  if (trovato != misurati.end()) {
    return trovato->second;
  }
  return misurati[metri] = picco_in_processo_nuovo(metri);
}

// Generated sources of state.range(0) metres, written into the folder, compiled and the three
// binary files written: time per metre of line and peak resident memory of the whole job.
void Crescita(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  svuota_cartella();
  const SorgentiEstese sorgenti = sorgenti_estese(scenario_incorporato(), cartella(), metri);
  const int64_t byte_picco = picco(metri);
  for (auto _ : state) {
    Scenario s = scenario_incorporato();
    scrivi_sorgenti(s, cartella(), sorgenti);
    memorizza_percorso(s, cartella(), 1);
    if (!compilato_senza_errori(state, s, "linea di " + std::to_string(metri) + " m")) {
      break;
    }
  }
  state.counters["s_per_metro"] = benchmark::Counter(
      metri, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["picco_MiB"] = static_cast<double>(byte_picco) / kByteInMiB;
}

BENCHMARK(LavoroCompleto)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PavimentoIO)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LavoroSuPavimento)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Compilazione)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Serializzazione)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Crescita)->Arg(10000)->Arg(100000)->Arg(1000000)->UseRealTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && argv[1] == kOpzionePicco) {
    return misura_picco(static_cast<int32_t>(std::stol(argv[2])));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  const piattaforma::CartellaTemporanea cartella_comune;
  cartella_di_lavoro = &cartella_comune;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (misura_fallita) {
    std::fprintf(stderr, "Almeno una compilazione non e' finita con codice_errore 0.\n");
    return 1;
  }
  return 0;
}
