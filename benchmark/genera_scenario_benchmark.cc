// Benchmark of the whole job: what the built-in run costs beside the bare writing of its files,
// what it costs with no file system at all (over the disk in memory), what the compile and the
// serialisation cost alone, and how the job grows with the length of the line. Every figure on
// the real disk runs in one temporary folder.
//
// The I/O floor of a job is found by doing the job over a disk in memory that records every
// file operation, in order (the bytes of each new file with it), the second time the job runs
// there, as every measured run finds its folder; the floor then makes those operations, and
// only those, on the real disk, each the plain system call: a new file under its temporary
// name written with plain write calls, a second name, a rename over the final name, a
// deletion, a check, a read, the folder's listing and its lock. Before it is timed, the floor
// is checked to leave in the folder the very files the job leaves.
//
// Peak resident memory of a line length is read in a fresh process of this same program
// (started with --picco-memoria and the length), which does the whole job for that length and
// then reports the high-water mark of its own memory map (VmHWM). A fresh process is needed:
// the timed runs in this process leave its high-water mark at their largest, and the maximum
// that getrusage reports for a child counts the memory of the parent it was forked from.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_load.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/scrivi_binario.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"
#include "prove/sorgenti_estese.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"
#include "strumenti/decompila_scenario/decompilazione.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"

namespace {

constexpr std::string_view kOpzionePicco = "--picco-memoria";
constexpr double kByteInMiB = 1024.0 * 1024.0;
// The largest threshold the C library takes for serving a block from its own heap rather than
// mapping it apart, and a threshold above any heap this program grows for giving memory back.
constexpr int kSogliaMappe = 32 * 1024 * 1024;
constexpr int kSogliaRestituzione = 1024 * 1024 * 1024;
// The folder of the disk in memory.
const std::string kCartellaInMemoria = "/memoria";

// The folder of every benchmark on the real disk, created by main.
const piattaforma::CartellaTemporanea* cartella_di_lavoro = nullptr;
// A compile that did not end with code 0 measured something other than the whole job, and a
// floor that does not leave the job's files measured something other than its file operations.
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

// ---- The jobs ------------------------------------------------------------------------------

// A job measured here: it runs over the disk and the folder it is given and leaves its
// scenario for the check of its error code.
using Lavoro = std::function<void(Scenario&, piattaforma::Disco&, const std::string&)>;

// The built-in run as the program does it: five texts, the compile, three binary files.
void lavoro_incorporato(Scenario& s, piattaforma::Disco& disco, const std::string& c) {
  Form_Load(s, disco, c);
}

// The job for a generated line: its two sources written, then the compile with its three
// binary files.
Lavoro lavoro_esteso(const SorgentiEstese& sorgenti) {
  return [&sorgenti](Scenario& s, piattaforma::Disco& disco, const std::string& c) {
    s = scenario_incorporato();
    scrivi_sorgenti(disco, s, c, sorgenti);
    memorizza_percorso(s, disco, c, 1);
  };
}

// ---- The I/O floor -------------------------------------------------------------------------

// One file operation of a job, in the order the job makes it: what it does, the file or files
// it names (empty for the folder itself), and for a new file the bytes written into it, for a
// read the size read.
enum class Tipo { esiste, aprire, creare, collegare, rinominare, eliminare, elencare, bloccare };

struct OperazioneFile {
  Tipo tipo;
  std::string nome;
  std::string secondo_nome;
  std::string byte;
  size_t letti = 0;
};

// A disk in memory that records its operations (`registra`), and with them the ones the
// record leaves out: every check that a file exists, the bytes of every new file and the size
// of every file read.
class DiscoCheAnnota : public piattaforma::DiscoInMemoria {
 public:
  bool esiste(const std::string& percorso) override {
    if (registra) {
      registro.push_back("esiste " + percorso);
    }
    return DiscoInMemoria::esiste(percorso);
  }
  std::string leggi(const std::string& percorso) override {
    std::string contenuto = DiscoInMemoria::leggi(percorso);
    if (registra) {
      letti.push_back(contenuto.size());
    }
    return contenuto;
  }
  void scrivi_nuovo(const std::string& percorso, std::string_view contenuto) override {
    DiscoInMemoria::scrivi_nuovo(percorso, contenuto);
    if (registra) {
      scritti.emplace_back(contenuto);
    }
  }

  std::vector<size_t> letti;
  std::vector<std::string> scritti;
};

// A recorded path as a name in the folder; the folder itself gives the empty name.
std::string nome_in_cartella(std::string_view percorso) {
  if (percorso == kCartellaInMemoria) {
    return {};
  }
  const std::string prefisso = kCartellaInMemoria + "/";
  if (!percorso.starts_with(prefisso)) {
    throw std::runtime_error("percorso fuori dalla cartella: " + std::string(percorso));
  }
  return std::string(percorso.substr(prefisso.size()));
}

// The operations of one run, from the disk's record.
std::vector<OperazioneFile> operazioni_registrate(const DiscoCheAnnota& disco) {
  static const std::map<std::string, Tipo, std::less<>> kTipi = {
      {"esiste", Tipo::esiste},         {"aprire", Tipo::aprire},
      {"creare", Tipo::creare},         {"collegare", Tipo::collegare},
      {"rinominare", Tipo::rinominare}, {"eliminare", Tipo::eliminare},
      {"elencare", Tipo::elencare},     {"bloccare", Tipo::bloccare},
  };
  std::vector<OperazioneFile> operazioni;
  size_t letti = 0;
  size_t scritti = 0;
  for (const std::string& voce : disco.registro) {
    const size_t spazio = voce.find(' ');
    const auto tipo = kTipi.find(std::string_view(voce).substr(0, spazio));
    if (spazio == std::string::npos || tipo == kTipi.end()) {
      throw std::runtime_error("operazione sconosciuta nel registro: " + voce);
    }
    OperazioneFile op{tipo->second, {}, {}, {}, 0};
    const std::string_view percorsi = std::string_view(voce).substr(spazio + 1);
    if (op.tipo == Tipo::collegare || op.tipo == Tipo::rinominare) {
      // Two paths, both in the folder: the second starts where " /memoria/" comes again.
      const size_t secondo = percorsi.find(" " + kCartellaInMemoria + "/", 1);
      if (secondo == std::string_view::npos) {
        throw std::runtime_error("manca il secondo percorso nel registro: " + voce);
      }
      op.nome = nome_in_cartella(percorsi.substr(0, secondo));
      op.secondo_nome = nome_in_cartella(percorsi.substr(secondo + 1));
    } else {
      op.nome = nome_in_cartella(percorsi);
    }
    if (op.tipo == Tipo::aprire) {
      op.letti = disco.letti.at(letti++);
    } else if (op.tipo == Tipo::creare) {
      op.byte = disco.scritti.at(scritti++);
    }
    operazioni.push_back(std::move(op));
  }
  if (letti != disco.letti.size() || scritti != disco.scritti.size()) {
    throw std::runtime_error("letture o scritture fuori dal registro");
  }
  return operazioni;
}

// What a job does with its files, found in memory: its operations, and the files (by name,
// with their content) that the folder holds afterwards.
struct LavoroRegistrato {
  std::vector<OperazioneFile> operazioni;
  std::map<std::string, std::string> file;
};

// The job done in memory twice, and recorded the second time: the time that finds the folder
// as a run before left it, as every measured run does.
LavoroRegistrato registra_lavoro(const Lavoro& lavoro) {
  DiscoCheAnnota disco;
  const UscitaMuta muta;
  for (const bool seconda : {false, true}) {
    disco.registra = seconda;
    Scenario s = scenario_incorporato();
    lavoro(s, disco, kCartellaInMemoria);
    if (s.codice_errore != 0 || s.percorso.empty()) {
      throw std::runtime_error("il lavoro da misurare finisce con codice_errore " +
                               std::to_string(s.codice_errore));
    }
  }
  LavoroRegistrato registrato{operazioni_registrate(disco), {}};
  for (const auto& [percorso, contenuto] : disco.file) {
    registrato.file[nome_in_cartella(percorso)] = contenuto;
  }
  return registrato;
}

[[noreturn]] void guasto(const char* operazione, const std::string& percorso) {
  throw std::runtime_error(std::string("impossibile ") + operazione + " " + percorso + ": " +
                           std::strerror(errno));
}

// A new file, created where none is, written with plain write calls and no buffer in between.
void scrivi_nuovo_senza_buffer(const std::string& percorso, std::string_view byte) {
  const int fd = open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

// The whole file read with plain read calls into `buffer`, which holds one byte more than the
// file so that the end shows in the same call as the last bytes, or in the next.
void leggi_senza_buffer(const std::string& percorso, std::string& buffer) {
  const int fd = open(percorso.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    guasto("aprire", percorso);
  }
  size_t letti = 0;
  for (;;) {
    const ssize_t n = read(fd, buffer.data() + letti, buffer.size() - letti);
    if (n < 0) {
      guasto("leggere", percorso);
    }
    if (n == 0 || (letti += static_cast<size_t>(n)) == buffer.size()) {
      break;
    }
  }
  close(fd);
}

// The names of the folder, read as the system gives them.
void elenca_senza_filtro(const std::string& percorso) {
  DIR* d = opendir(percorso.c_str());
  if (d == nullptr) {
    guasto("elencare", percorso);
  }
  size_t voci = 0;
  while (readdir(d) != nullptr) {
    ++voci;
  }
  benchmark::DoNotOptimize(voci);
  closedir(d);
}

// The least a job's files demand: the same operations on the same files in the same order,
// each the plain system call. A new file is created and written with plain write calls; a
// second name is link, a rename rename, a deletion unlink; a check is stat; a read reads the
// whole file once into a buffer made ready beforehand; the folder's listing reads its entries;
// the folder's hold is a lock on the folder, freed at the end.
class Pavimento {
 public:
  explicit Pavimento(std::vector<OperazioneFile> operazioni) : operazioni_(std::move(operazioni)) {
    for (const OperazioneFile& op : operazioni_) {
      buffer_.emplace_back(op.tipo == Tipo::aprire ? op.letti + 1 : 0, '\0');
    }
  }

  void operator()() {
    int presa = -1;
    for (size_t i = 0; i < operazioni_.size(); ++i) {
      const OperazioneFile& op = operazioni_[i];
      const std::string percorso = op.nome.empty() ? cartella() : cartella() + "/" + op.nome;
      switch (op.tipo) {
        case Tipo::esiste: {
          struct stat info {};
          benchmark::DoNotOptimize(stat(percorso.c_str(), &info));
          break;
        }
        case Tipo::aprire:
          leggi_senza_buffer(percorso, buffer_[i]);
          break;
        case Tipo::creare:
          scrivi_nuovo_senza_buffer(percorso, op.byte);
          break;
        case Tipo::collegare:
          if (link(percorso.c_str(), (cartella() + "/" + op.secondo_nome).c_str()) != 0) {
            guasto("collegare", percorso);
          }
          break;
        case Tipo::rinominare:
          if (rename(percorso.c_str(), (cartella() + "/" + op.secondo_nome).c_str()) != 0) {
            guasto("rinominare", percorso);
          }
          break;
        case Tipo::eliminare:
          if (unlink(percorso.c_str()) != 0) {
            guasto("eliminare", percorso);
          }
          break;
        case Tipo::elencare:
          elenca_senza_filtro(percorso);
          break;
        case Tipo::bloccare:
          presa = open(percorso.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
          if (presa < 0 || flock(presa, LOCK_EX) != 0) {
            guasto("bloccare", percorso);
          }
          break;
      }
    }
    if (presa >= 0) {
      close(presa);
    }
  }

 private:
  std::vector<OperazioneFile> operazioni_;
  std::vector<std::string> buffer_;
};

int64_t byte_scritti(const std::vector<OperazioneFile>& operazioni) {
  int64_t n = 0;
  for (const OperazioneFile& op : operazioni) {
    n += static_cast<int64_t>(op.byte.size());
  }
  return n;
}

// The files of the folder on the real disk, by name, with their content.
std::map<std::string, std::string> file_della_cartella() {
  std::map<std::string, std::string> file;
  for (const auto& voce : std::filesystem::directory_iterator(cartella())) {
    std::ifstream f(voce.path(), std::ios::binary);
    file[voce.path().filename().string()] =
        std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  return file;
}

// Makes the folder hold what a run before leaves, by doing the job once on the real disk, and
// checks that the floor, done over it, leaves the very files the job leaves in memory: the
// same names with the same bytes, and nothing else. Untimed; false when the job or the check
// failed (the benchmark then reports the failure).
bool prepara_cartella(benchmark::State& state, const Lavoro& lavoro, const std::string& cosa,
                      const LavoroRegistrato& registrato, Pavimento& pavimento) {
  svuota_cartella();
  piattaforma::DiscoReale disco;
  const UscitaMuta muta;
  Scenario s = scenario_incorporato();
  lavoro(s, disco, cartella());
  if (!compilato_senza_errori(state, s, cosa)) {
    return false;
  }
  pavimento();
  if (file_della_cartella() != registrato.file) {
    const std::string messaggio = cosa + ": il pavimento non lascia i file del lavoro";
    std::fprintf(stderr, "MISURA NON VALIDA: %s\n", messaggio.c_str());
    misura_fallita = true;
    state.SkipWithError(messaggio.c_str());
    return false;
  }
  return true;
}

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t m = v.size() / 2;
  return v.size() % 2 == 1 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The job against its I/O floor, one right after the other in every iteration so that both
// meet the same machine and the same state of the folder. Counters: the median over the
// iterations of each time and of the ratio of each pair.
void lavoro_su_pavimento(benchmark::State& state, const Lavoro& lavoro, const std::string& cosa) {
  using Orologio = std::chrono::steady_clock;
  const LavoroRegistrato registrato = registra_lavoro(lavoro);
  Pavimento pavimento(registrato.operazioni);
  if (!prepara_cartella(state, lavoro, cosa, registrato, pavimento)) {
    return;
  }
  piattaforma::DiscoReale disco;
  const UscitaMuta muta;
  std::vector<double> ms_lavoro;
  std::vector<double> ms_pavimento;
  std::vector<double> rapporti;
  for (auto _ : state) {
    const auto t0 = Orologio::now();
    bool valido = false;
    {
      Scenario s = scenario_incorporato();
      lavoro(s, disco, cartella());
      valido = compilato_senza_errori(state, s, cosa);
    }
    const auto t1 = Orologio::now();
    if (!valido) {
      return;
    }
    pavimento();
    const auto t2 = Orologio::now();
    ms_lavoro.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    ms_pavimento.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    rapporti.push_back(ms_lavoro.back() / ms_pavimento.back());
  }
  state.counters["lavoro_ms"] = mediana(ms_lavoro);
  state.counters["pavimento_ms"] = mediana(ms_pavimento);
  state.counters["rapporto"] = mediana(rapporti);
}

// ---- The built-in job ----------------------------------------------------------------------

// The whole built-in run on the real disk.
void LavoroCompleto(benchmark::State& state) {
  svuota_cartella();
  piattaforma::DiscoReale disco;
  const UscitaMuta muta;
  for (auto _ : state) {
    Scenario s;
    Form_Load(s, disco, cartella());
    if (!compilato_senza_errori(state, s, "lavoro incorporato")) {
      break;
    }
  }
}

// The I/O floor of the same run.
void PavimentoIO(benchmark::State& state) {
  const LavoroRegistrato registrato = registra_lavoro(lavoro_incorporato);
  Pavimento pavimento(registrato.operazioni);
  if (!prepara_cartella(state, lavoro_incorporato, "lavoro incorporato", registrato, pavimento)) {
    return;
  }
  for (auto _ : state) {
    pavimento();
  }
  state.SetBytesProcessed(state.iterations() * byte_scritti(registrato.operazioni));
}

// The whole run against its floor, measured in turn.
void LavoroSuPavimento(benchmark::State& state) {
  lavoro_su_pavimento(state, lavoro_incorporato, "lavoro incorporato");
}

// The whole built-in run over the disk in memory: everything the job computes, no file system.
void LavoroInMemoria(benchmark::State& state) {
  const UscitaMuta muta;
  piattaforma::DiscoInMemoria disco;
  for (auto _ : state) {
    Scenario s;
    Form_Load(s, disco, kCartellaInMemoria);
    if (!compilato_senza_errori(state, s, "lavoro incorporato in memoria")) {
      break;
    }
  }
}

// ---- The compile alone and the serialisation alone -----------------------------------------

// The compile driver from the two built-in sources, as the writers leave them: reading, the
// pass, the stamps and the three binary files, over the disk it is given.
void compilazione(benchmark::State& state, piattaforma::Disco& disco, const std::string& c) {
  const Scenario identita = scenario_incorporato();
  const std::string testo_linea = testo_delle_righe(dati_linea());
  const std::string testo_treno = testo_delle_righe(dati_treno());
  for (auto _ : state) {
    state.PauseTiming();
    Scenario s = identita;
    disco.ricrea(disco.percorso_in(c, nome_sorgente_linea(s)), testo_linea);
    disco.ricrea(disco.percorso_in(c, nome_sorgente_treno(s)), testo_treno);
    state.ResumeTiming();
    memorizza_percorso(s, disco, c, 1);
    if (!compilato_senza_errori(state, s, "compilazione incorporata")) {
      break;
    }
  }
}

// From the sources on the real disk.
void Compilazione(benchmark::State& state) {
  svuota_cartella();
  piattaforma::DiscoReale disco;
  compilazione(state, disco, cartella());
}

// From the sources in memory, the three files into memory: the compile with no file system.
void CompilazioneInMemoria(benchmark::State& state) {
  piattaforma::DiscoInMemoria disco;
  compilazione(state, disco, kCartellaInMemoria);
}

// The three images of the built-in model once compiled, in memory, without files: the plan is
// held as its image already, the entries and the cells are built.
void Serializzazione(benchmark::State& state) {
  piattaforma::DiscoInMemoria disco;
  Scenario s;
  {
    const UscitaMuta muta;
    Form_Load(s, disco, kCartellaInMemoria);
  }
  if (!compilato_senza_errori(state, s, "lavoro incorporato")) {
    return;
  }
  int64_t byte = 0;
  for (auto _ : state) {
    const std::string_view tracciato = immagine_tracciato(s.tracciato);
    const std::string voci = immagine_voci(s.voci);
    const std::string percorso = immagine_percorso(s.percorso);
    benchmark::DoNotOptimize(tracciato.data());
    benchmark::DoNotOptimize(voci.data());
    benchmark::DoNotOptimize(percorso.data());
    byte = static_cast<int64_t>(tracciato.size() + voci.size() + percorso.size());
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// ---- Decompiling ----------------------------------------------------------------------------

// The three files of a compile back to two sources, proved by compiling them: the work of
// decompila_scenario between reading the files and writing the sources.
void decompilazione(benchmark::State& state, const Identita& id, const SorgentiEstese& f) {
  const ::Compilazione c = compila(f.linea, f.treno, opzioni_di_compilazione(id));
  if (!c.ha_immagini() || c.scenario.codice_errore != 0) {
    state.SkipWithError("la compilazione delle sorgenti non e' riuscita");
    return;
  }
  for (auto _ : state) {
    const Decompilazione d =
        decompila(id, c.immagini->tracciato, c.immagini->voci, c.immagini->percorso);
    if (!d.sorgenti) {
      state.SkipWithError("decompilazione non riuscita");
      return;
    }
    benchmark::DoNotOptimize(d.sorgenti->linea.data());
  }
}

void DecompilazioneIncorporato(benchmark::State& state) {
  const SorgentiEstese f{testo_delle_righe(dati_linea()), testo_delle_righe(dati_treno())};
  decompilazione(state, {"Tavena_Crostia", "4417"}, f);
}

// Lines of 100 km and 1,000 km: the decompile should grow with the line as the compile does.
void DecompilazioneCrescita(benchmark::State& state) {
  decompilazione(state, {"Prova", "1"}, sorgenti_estese(static_cast<int32_t>(state.range(0))));
}

// ---- Growth with the length of the line ----------------------------------------------------

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
  piattaforma::DiscoReale disco;
  Scenario s = scenario_incorporato();
  lavoro_esteso(sorgenti_estese(metri))(s, disco, propria.percorso());
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
  const SorgentiEstese sorgenti = sorgenti_estese(metri);
  const Lavoro lavoro = lavoro_esteso(sorgenti);
  const int64_t byte_picco = picco(metri);
  piattaforma::DiscoReale disco;
  for (auto _ : state) {
    Scenario s;
    lavoro(s, disco, cartella());
    if (!compilato_senza_errori(state, s, "linea di " + std::to_string(metri) + " m")) {
      break;
    }
  }
  state.counters["s_per_metro"] = benchmark::Counter(
      metri, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["picco_MiB"] = static_cast<double>(byte_picco) / kByteInMiB;
}

// The same job over the disk in memory: what a long line costs with no file system.
void CrescitaInMemoria(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  const SorgentiEstese sorgenti = sorgenti_estese(metri);
  const Lavoro lavoro = lavoro_esteso(sorgenti);
  piattaforma::DiscoInMemoria disco;
  for (auto _ : state) {
    Scenario s;
    lavoro(s, disco, kCartellaInMemoria);
    if (!compilato_senza_errori(state, s, "linea di " + std::to_string(metri) + " m in memoria")) {
      break;
    }
  }
  state.counters["s_per_metro"] = benchmark::Counter(
      metri, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The job for a generated line against its own I/O floor, measured in turn.
void CrescitaSuPavimento(benchmark::State& state) {
  const auto metri = static_cast<int32_t>(state.range(0));
  const SorgentiEstese sorgenti = sorgenti_estese(metri);
  lavoro_su_pavimento(state, lavoro_esteso(sorgenti), "linea di " + std::to_string(metri) + " m");
}

BENCHMARK(LavoroCompleto)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PavimentoIO)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LavoroSuPavimento)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LavoroInMemoria)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Compilazione)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CompilazioneInMemoria)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Serializzazione)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Crescita)->Arg(10000)->Arg(100000)->Arg(1000000)->UseRealTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(CrescitaInMemoria)->Arg(1000000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CrescitaSuPavimento)->Arg(1000000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DecompilazioneIncorporato)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DecompilazioneCrescita)->Arg(100000)->Arg(1000000)->UseRealTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && argv[1] == kOpzionePicco) {
    return misura_picco(static_cast<int32_t>(std::stol(argv[2])));
  }
  // Freed memory stays with the process: a job run over and over then reuses its buffers
  // rather than handing them back to the system and faulting them in again, which on a
  // virtual machine costs microseconds a page and happens or not by the sizes of the
  // buffers around, not by the work of the job. The peak above is measured without this.
  if (mallopt(M_MMAP_THRESHOLD, kSogliaMappe) == 0 ||
      mallopt(M_TRIM_THRESHOLD, kSogliaRestituzione) == 0) {
    std::fprintf(stderr, "mallopt non riuscita\n");
    return 1;
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
    std::fprintf(stderr, "Almeno una misura non e' valida (MISURA NON VALIDA qui sopra).\n");
    return 1;
  }
  return 0;
}
