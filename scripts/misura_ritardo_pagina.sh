#!/usr/bin/env bash
# Times the watch mode from a save to the live page redrawn, in headless Chromium, for the
# built-in scenario and for the 1000 km line: builds compila_scenario and the writer of the long
# line's sources in Release (the benchmark's build folder, build/benchmark unless
# CARTELLA_BENCHMARK names another), then runs strumenti/pagina/prove/ritardo.mjs on each, with
# SALVATAGGI saves (20 unless set). Installs what it needs from Debian's packages when missing,
# and the page tools from the committed npm lock file.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
pacchetti_mancanti libbenchmark-dev libgtest-dev libssl-dev nlohmann-json3-dev libcli11-dev \
  libboost-dev chromium nodejs
installa_pacchetti "${mancanti[@]}"

cartella="${CARTELLA_BENCHMARK:-build/benchmark}"
salvataggi="${SALVATAGGI:-20}"
cmake -S . -B "$cartella" -DCMAKE_BUILD_TYPE=Release -DGENERA_BENCHMARK=ON \
  -DGENERA_MANUALI=OFF >/dev/null
cmake --build "$cartella" --target compila_scenario scrivi_sorgenti_estese -j"$(nproc)" >/dev/null
programma="$(pwd)/$cartella/strumenti/compila_scenario/compila_scenario"

(cd strumenti/pagina/prove && { test -d node_modules || PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null; })

lavoro="$(mktemp -d)"
trap 'rm -rf "$lavoro"' EXIT
mkdir "$lavoro/incorporato" "$lavoro/lunga"
"$programma" --esempio "$lavoro/incorporato" >/dev/null
"$cartella/benchmark/scrivi_sorgenti_estese" "$lavoro/lunga" 1000000

echo "Macchina: $(nproc) CPU, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Data: $(date -u +%Y-%m-%d)"
cd strumenti/pagina/prove
echo "Scenario incorporato (101 km):"
node ritardo.mjs "$programma" "$lavoro/incorporato" "$salvataggi"
echo "Linea di 1000 km:"
node ritardo.mjs "$programma" "$lavoro/lunga" "$salvataggi"
