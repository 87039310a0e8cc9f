#!/usr/bin/env bash
# Fuzzes the compile for a bounded time (60 s unless FUZZ_SECONDI says otherwise): any bytes as
# the two sources, under AddressSanitizer and UndefinedBehaviorSanitizer, with the properties
# of every compile checked. Fails on any finding and leaves the input that caused it in
# build/fuzz/. Installs clang and its fuzzer runtime from Debian's packages when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
command -v clang++ >/dev/null || mancanti+=(clang)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
  mancanti+=(libclang-rt-dev)
installa_pacchetti "${mancanti[@]}"
installa_librerie_strumenti

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGENERA_FUZZ=ON -DGENERA_TESTS=OFF >/dev/null
cmake --build build/fuzz --target compilazione_fuzz -j"$(nproc)" >/dev/null

# New inputs go to the build folder; the corpus in the repository only seeds the run.
mkdir -p build/fuzz/corpus
echo "Fuzzing della compilazione per ${FUZZ_SECONDI:-60} s"
./build/fuzz/compiler/compilazione_fuzz build/fuzz/corpus compiler/corpus_compilazione \
  -max_total_time="${FUZZ_SECONDI:-60}" -timeout=5 -rss_limit_mb=2048 \
  -artifact_prefix=build/fuzz/ -print_final_stats=1 2>build/fuzz/ultimo.log ||
  { tail -n 40 build/fuzz/ultimo.log >&2; echo "verifica_fuzz: trovato un ingresso che fallisce" >&2; exit 1; }
grep -E "^Done|stat::(number_of_executed_units|slowest_unit_time_sec)" build/fuzz/ultimo.log
