#!/usr/bin/env bash
# Fuzzes the compile for a bounded time (60 s unless FUZZ_SECONDI says otherwise) on the disk
# in memory, then briefly (FUZZ_SECONDI_DISCO_REALE, 10 s) in a folder of the real disk: any
# bytes as the two sources, under AddressSanitizer and UndefinedBehaviorSanitizer, with the
# properties of every compile checked; then the round trip of the decompiler
# (FUZZ_SECONDI_DECOMPILAZIONE, 60 s; 0 leaves it out): every input that compiles without an
# error must come back, through its three files, as two sources that compile to the same bytes.
# Fails on any finding and leaves the input that caused it in build/fuzz/. Installs CMake, make,
# clang and its fuzzer runtime from Debian's packages when missing.
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
cmake --build build/fuzz --target compilazione_fuzz decompilazione_fuzz -j"$(nproc)" >/dev/null

# New inputs go to the build folder, one corpus per target; the corpus in the repository only
# seeds the run.
mkdir -p build/fuzz/corpus build/fuzz/corpus_decompilazione

# Runs the fuzz target $1 for $2 seconds on the corpus $3, an input taking more than $4 seconds
# counting as a finding, with the log in $5; the rest is its environment.
fuzz() {
  local bersaglio=$1 secondi=$2 corpus=$3 tempo_massimo=$4 log=$5
  shift 5
  env "$@" "./build/fuzz/prove/$bersaglio" "$corpus" prove/corpus_compilazione \
    -max_total_time="$secondi" -timeout="$tempo_massimo" -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/ -print_final_stats=1 2>"$log" ||
    { tail -n 40 "$log" >&2; echo "verifica_fuzz: trovato un ingresso che fallisce" >&2; exit 1; }
  grep -E "^Done|stat::(number_of_executed_units|average_exec_per_sec|slowest_unit_time_sec)" "$log"
}

echo "Fuzzing della compilazione in memoria per ${FUZZ_SECONDI:-60} s"
fuzz compilazione_fuzz "${FUZZ_SECONDI:-60}" build/fuzz/corpus 5 build/fuzz/ultimo.log
echo "Fuzzing della compilazione su disco per ${FUZZ_SECONDI_DISCO_REALE:-10} s"
fuzz compilazione_fuzz "${FUZZ_SECONDI_DISCO_REALE:-10}" build/fuzz/corpus 5 \
  build/fuzz/ultimo_disco_reale.log \
  FUZZ_DISCO_REALE=1
if [ "${FUZZ_SECONDI_DECOMPILAZIONE:-60}" -gt 0 ]; then
  echo "Fuzzing della decompilazione per ${FUZZ_SECONDI_DECOMPILAZIONE:-60} s"
  # A round trip of a line near the longest compiles it up to nine times, under the
  # sanitizers: seconds on a loaded machine, which is slow work and no hang.
  fuzz decompilazione_fuzz "${FUZZ_SECONDI_DECOMPILAZIONE:-60}" build/fuzz/corpus_decompilazione 60 \
    build/fuzz/ultimo_decompilazione.log
fi
