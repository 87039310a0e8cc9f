#!/usr/bin/env bash
# Writes the built-in example into a temporary folder and runs the Neovim script over it.
# Arguments: the path of compila_scenario, then that of lingua_scenario.
set -euo pipefail
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
"$1" --esempio "$cartella" >/dev/null
# Once as a client that declares every feature, once as one that declares only plain text.
for capacita in piene ridotte; do
  CARTELLA="$cartella" SERVER="$2" CAPACITA="$capacita" timeout 120 nvim --headless -u NONE -i NONE \
    -n -c "luafile $(dirname "$0")/prova_lingua_scenario.lua"
done
