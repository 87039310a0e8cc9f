#!/usr/bin/env bash
# Builds the benchmark in Release and runs it: the built-in job beside the I/O floor of its
# eight files and over a disk in memory, the compile (from the disk and from memory) and the
# serialisation alone, and the whole job for generated lines of 10, 100 and 1000 km (time per
# metre, peak resident memory, and the 1000 km job beside its own floor); then the language
# server's answer to a change of the line source, for the built-in pair and the 1000 km line, in
# process and through the pipes of the built server. Each figure is taken
# five times; mean, median and spread are printed. Extra arguments go to the benchmark, for
# example --benchmark_filter=Crescita. The build folder is build/benchmark unless
# CARTELLA_BENCHMARK names another. Installs CMake, make, g++, Google Benchmark and what a
# build with the tests needs (GoogleTest, OpenSSL's headers, the tools' libraries) from
# Debian's packages when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
pacchetti_mancanti libbenchmark-dev libgtest-dev libssl-dev nlohmann-json3-dev libcli11-dev libboost-dev
installa_pacchetti "${mancanti[@]}"

cartella="${CARTELLA_BENCHMARK:-build/benchmark}"
cmake -S . -B "$cartella" -DCMAKE_BUILD_TYPE=Release -DGENERA_BENCHMARK=ON \
  -DGENERA_MANUALI=OFF >/dev/null
cmake --build "$cartella" --target genera_scenario_benchmark lingua_scenario -j"$(nproc)" >/dev/null

echo "Macchina: $(nproc) CPU, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Data: $(date -u +%Y-%m-%d)"
"$cartella"/benchmark/genera_scenario_benchmark --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
