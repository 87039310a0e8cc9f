#!/usr/bin/env bash
# Cross-builds genera_scenario.exe and the author tools compila_scenario.exe,
# ispeziona_scenario.exe and decompila_scenario.exe (console programs) for 64-bit Windows with MinGW-w64, statically
# linked, in build/windows. Installs CMake, make, Debian's MinGW-w64 C++ compiler and the tools'
# header-only libraries when they are missing.
# Further build targets of that build can be named as arguments; the four programs are
# always built. COMPILA_SCENARIO_NATIVO, when set, names a compila_scenario built for this
# machine: the build then also writes the example sources that the Windows archive carries
# (scripts/pacchetti.sh makes the archive).
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make
command -v x86_64-w64-mingw32-g++-posix >/dev/null || mancanti+=(g++-mingw-w64-x86-64)
pacchetti_mancanti nlohmann-json3-dev libcli11-dev libboost-dev
installa_pacchetti "${mancanti[@]}"

nativo=()
if [ -n "${COMPILA_SCENARIO_NATIVO:-}" ]; then
  nativo=(-DGENERA_COMPILA_SCENARIO_NATIVO="$(realpath "$COMPILA_SCENARIO_NATIVO")")
fi
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF "${nativo[@]}" >/dev/null
cmake --build build/windows --target genera_scenario compila_scenario ispeziona_scenario \
  decompila_scenario lingua_scenario "$@" -j"$(nproc)"
if [ ${#nativo[@]} -gt 0 ]; then
  cmake --build build/windows -j"$(nproc)"
fi
echo "Eseguibili per Windows: $(pwd)/build/windows/app/genera_scenario.exe," \
  "$(pwd)/build/windows/strumenti/compila_scenario/compila_scenario.exe," \
  "$(pwd)/build/windows/strumenti/ispeziona_scenario/ispeziona_scenario.exe," \
  "$(pwd)/build/windows/strumenti/decompila_scenario/decompila_scenario.exe"
