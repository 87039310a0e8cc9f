#!/usr/bin/env bash
# Builds genera_scenario and runs it once. It writes its files into the folder that holds the
# executable: out/ in the project.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/installa_pacchetti.sh
installa_librerie_strumenti
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF >/dev/null
cmake --build build/release --target genera_scenario -j"$(nproc)"
mkdir -p out
cp build/release/app/genera_scenario out/genera_scenario
./out/genera_scenario
echo "File scritti in $(pwd)/out:"
ls -l out
