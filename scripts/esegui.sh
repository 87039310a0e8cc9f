#!/usr/bin/env bash
# Builds genera_scenario and runs it once. It writes its files into the folder that holds the
# executable: out/ in the project. Installs CMake, make and g++ from Debian's packages when
# missing.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
pacchetti_mancanti nlohmann-json3-dev libcli11-dev libboost-dev
installa_pacchetti "${mancanti[@]}"

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF -DGENERA_MANUALI=OFF \
  >/dev/null
cmake --build build/release --target genera_scenario -j"$(nproc)"
mkdir -p out
cp build/release/app/genera_scenario out/genera_scenario
./out/genera_scenario
echo "File scritti in $(pwd)/out:"
ls -l out
