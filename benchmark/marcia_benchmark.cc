// The timetable check's cost as the line grows: the built-in scenario's line laid again up to
// 1000 km, compiled once, then checked again and again in the storage of the check before, as
// the watch mode and the language server check on every save or keystroke. The goal is at most
// 1 ms per 100 km.
#include <benchmark/benchmark.h>

#include "compiler/compila.h"
#include "prove/sorgenti_estese.h"
#include "strumenti/marcia/marcia.h"

namespace {

void BM_VerificaMarcia(benchmark::State& stato) {
  const auto metri = static_cast<int32_t>(stato.range(0));
  const SorgentiEstese f = sorgenti_estese(metri);
  const Compilazione c = compila(f.linea, f.treno, {"Tavena_Crostia", "4417", false});
  Marcia m = verifica_marcia(c.scenario, {});
  if (m.tratte.empty()) {
    stato.SkipWithError("nessuna tratta da verificare");
    return;
  }
  for (auto _ : stato) {
    m = verifica_marcia(c.scenario.voci, c.scenario.percorso, {}, std::move(m));
    benchmark::DoNotOptimize(m.tratte.data());
  }
  stato.counters["km"] = metri / 1000.0;
  stato.counters["tratte"] = static_cast<double>(m.tratte.size());
}
BENCHMARK(BM_VerificaMarcia)->Arg(101000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
