#!/usr/bin/env bash
# Builds and runs every test: once in an ordinary build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then builds the Debian package, installs it on this machine and
# checks it, fuzzes the compile and the decompiler's round trip for a minute each, and checks
# the Windows build and its archive under Wine. Installs CMake, make, g++, GoogleTest,
# OpenSSL's headers (for the SHA-256 of the pinned-bytes test), the author tools' header-only
# libraries, scdoc and mandoc (the manual pages and their lint) and Chromium (which renders
# the inspector's page in its test) from Debian's packages when missing (the package check,
# the fuzzing and the Windows check install what they need themselves); last, checks the
# editor package's grammar and builds the package (its npm packages installed from their lock
# file). Stops at the first step that fails; the last line says that everything passed or
# which step failed.
set -euo pipefail
cd "$(dirname "$0")/.."
lavori=$(nproc)

# The step under way, named in the last line when the script ends early.
passo_corrente=""
passo() {
  passo_corrente=$1
  echo "== $1"
}
riassumi() {
  local stato=$?
  if [ "$stato" -eq 0 ]; then
    echo "verifica: tutto superato"
  else
    echo "verifica: fallito il passo $passo_corrente" >&2
  fi
}
trap riassumi EXIT

passo pacchetti
source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
pacchetti_mancanti libgtest-dev libssl-dev nlohmann-json3-dev libcli11-dev libboost-dev scdoc mandoc \
  chromium neovim nodejs
installa_pacchetti "${mancanti[@]}"

passo costruzione
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test -j"$lavori"
passo test
ctest --test-dir build/test --output-on-failure --no-tests=error -j"$lavori"

passo "costruzione con i sanitizer"
cmake -S . -B build/sanitizer -DCMAKE_BUILD_TYPE=Debug -DGENERA_SANITIZERS=ON >/dev/null
cmake --build build/sanitizer -j"$lavori"
passo "test con i sanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitizer --output-on-failure --no-tests=error -j"$lavori"

passo "pacchetto Debian"
./scripts/verifica_pacchetto_debian.sh
passo fuzzing
./scripts/verifica_fuzz.sh
passo windows
./scripts/verifica_windows.sh

# After the Windows build, so that the editor package carries the server for both systems.
passo "pacchetto per l'editor"
editor/vscode/verifica.sh build/test/strumenti/compila_scenario/compila_scenario \
  build/test/strumenti/lingua_scenario/lingua_scenario build/test/editor_vscode \
  build/windows/strumenti/lingua_scenario/lingua_scenario.exe
