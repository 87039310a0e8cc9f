#!/usr/bin/env bash
# Fuzzes the compile for a bounded time (60 s unless FUZZ_SECONDI says otherwise) on the disk
# in memory, then briefly (FUZZ_SECONDI_DISCO_REALE, 10 s) in a folder of the real disk: any
# bytes as the two sources, under AddressSanitizer and UndefinedBehaviorSanitizer, with the
# properties of every compile checked; then the round trip of the decompiler
# (FUZZ_SECONDI_DECOMPILAZIONE, 60 s; 0 leaves it out): every input that compiles without an
# error must come back, through its three files, as two sources that compile to the same bytes;
# then the language server (FUZZ_SECONDI_LINGUA, 60 s; 0 leaves it out): any bytes as its
# input, in a folder of the built-in pair, must be answered with framed messages of the
# protocol and never end it. Fails on any finding and leaves the input that caused it in
# build/fuzz/. Installs CMake, make, clang and its fuzzer runtime from Debian's packages when
# missing.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make
command -v clang++ >/dev/null || mancanti+=(clang)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
  mancanti+=(libclang-rt-dev)
installa_pacchetti "${mancanti[@]}"
installa_librerie_strumenti

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGENERA_FUZZ=ON -DGENERA_TESTS=OFF -DGENERA_MANUALI=OFF >/dev/null
cmake --build build/fuzz --target compilazione_fuzz decompilazione_fuzz lingua_scenario_fuzz \
  -j"$(nproc)" >/dev/null

# New inputs go to the build folder, one corpus per target; the corpus in the repository only
# seeds the run.
mkdir -p build/fuzz/corpus build/fuzz/corpus_decompilazione build/fuzz/corpus_lingua_scenario

# Runs the fuzz target $1 for $2 seconds on the corpus $3 seeded by $4, an input taking more
# than $5 seconds counting as a finding, with the log in $6; the rest is its environment.
fuzz() {
  local bersaglio=$1 secondi=$2 corpus=$3 semi=$4 tempo_massimo=$5 log=$6
  shift 6
  env "$@" "./build/fuzz/prove/$bersaglio" "$corpus" "$semi" \
    -max_total_time="$secondi" -timeout="$tempo_massimo" -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/ -print_final_stats=1 2>"$log" ||
    { tail -n 40 "$log" >&2; echo "verifica_fuzz: trovato un ingresso che fallisce" >&2; exit 1; }
  grep -E "^Done|stat::(number_of_executed_units|average_exec_per_sec|slowest_unit_time_sec)" "$log"
}

echo "Fuzzing della compilazione in memoria per ${FUZZ_SECONDI:-60} s"
fuzz compilazione_fuzz "${FUZZ_SECONDI:-60}" build/fuzz/corpus prove/corpus_compilazione 5 \
  build/fuzz/ultimo.log
echo "Fuzzing della compilazione su disco per ${FUZZ_SECONDI_DISCO_REALE:-10} s"
fuzz compilazione_fuzz "${FUZZ_SECONDI_DISCO_REALE:-10}" build/fuzz/corpus prove/corpus_compilazione \
  5 build/fuzz/ultimo_disco_reale.log \
  FUZZ_DISCO_REALE=1
if [ "${FUZZ_SECONDI_DECOMPILAZIONE:-60}" -gt 0 ]; then
  echo "Fuzzing della decompilazione per ${FUZZ_SECONDI_DECOMPILAZIONE:-60} s"
  # A round trip of a line near the longest compiles it up to nine times, under the
  # sanitizers: seconds on a loaded machine, which is slow work and no hang.
  fuzz decompilazione_fuzz "${FUZZ_SECONDI_DECOMPILAZIONE:-60}" build/fuzz/corpus_decompilazione \
    prove/corpus_compilazione 60 build/fuzz/ultimo_decompilazione.log
fi
if [ "${FUZZ_SECONDI_LINGUA:-60}" -gt 0 ]; then
  echo "Fuzzing del server delle sorgenti per ${FUZZ_SECONDI_LINGUA:-60} s"
  # An input may open the built-in pair and change it many times: each change compiles it,
  # under the sanitizers.
  fuzz lingua_scenario_fuzz "${FUZZ_SECONDI_LINGUA:-60}" build/fuzz/corpus_lingua_scenario \
    prove/corpus_lingua_scenario 20 build/fuzz/ultimo_lingua_scenario.log
fi
