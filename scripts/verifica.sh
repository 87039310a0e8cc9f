#!/usr/bin/env bash
# Builds and runs every test: once in an ordinary build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then fuzzes the compile for a minute and checks the Windows build
# under Wine. Installs the tools' libraries and Chromium from Debian's packages when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
lavori=$(nproc)

# The author tools' libraries, and the browser that renders the inspector's page in its test.
source scripts/installa_pacchetti.sh
installa_librerie_strumenti
pacchetto_installato chromium || installa_pacchetti chromium

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test -j"$lavori"
ctest --test-dir build/test --output-on-failure -j"$lavori"

cmake -S . -B build/sanitizer -DCMAKE_BUILD_TYPE=Debug -DGENERA_SANITIZERS=ON >/dev/null
cmake --build build/sanitizer -j"$lavori"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitizer --output-on-failure -j"$lavori"
./scripts/verifica_fuzz.sh
./scripts/verifica_windows.sh
