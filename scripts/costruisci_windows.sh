#!/usr/bin/env bash
# Cross-builds genera_scenario.exe for 64-bit Windows with MinGW-w64, statically linked, in
# build/windows. Installs Debian's MinGW-w64 C++ compiler when it is missing. Further build
# targets of that build can be named as arguments; genera_scenario is always built.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "Installazione di g++-mingw-w64-x86-64"
  come_root=()
  if [ "$(id -u)" -ne 0 ]; then
    come_root=(sudo)
  fi
  "${come_root[@]}" apt-get update -qq
  "${come_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends g++-mingw-w64-x86-64 >/dev/null
fi

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF >/dev/null
cmake --build build/windows --target genera_scenario "$@" -j"$(nproc)"
echo "Eseguibile per Windows: $(pwd)/build/windows/app/genera_scenario.exe"
