#!/usr/bin/env bash
# Writes the built-in example into a temporary folder and runs the Neovim script over it.
# Arguments: the path of compila_scenario, then that of lingua_scenario.
set -euo pipefail
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
"$1" --esempio "$cartella" >/dev/null
CARTELLA="$cartella" SERVER="$2" timeout 120 nvim --headless -u NONE -i NONE -n \
  -c "luafile $(dirname "$0")/prova_lingua_scenario.lua"
