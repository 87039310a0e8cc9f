#!/usr/bin/env bash
# The editor package: installs its npm packages as the lock file pins them, checks the grammar
# over the example sources, then builds the installable package with the server inside it and
# checks that the package holds the client, the grammar and the server.
#   verifica.sh COMPILA_SCENARIO LINGUA_SCENARIO CARTELLA_DI_USCITA [LINGUA_SCENARIO_EXE]
set -euo pipefail
compila=$(realpath "$1")
server=$(realpath "$2")
uscita=$(mkdir -p "$3" && realpath "$3")
server_windows=""
if [ -n "${4:-}" ]; then
  server_windows=$(realpath "$4")
fi
cd "$(dirname "$0")"

npm ci --no-audit --no-fund --prefer-offline >/dev/null

esempio=$uscita/esempio
rm -rf "$esempio"
mkdir -p "$esempio"
"$compila" --esempio "$esempio" >/dev/null
ESEMPIO=$esempio node --test test/

# The server is copied in only to be packed: it is a build output, never kept in the tree.
rm -rf server
mkdir server
trap 'rm -rf server' EXIT
cp "$server" server/lingua_scenario
if [ -n "$server_windows" ]; then
  cp "$server_windows" server/lingua_scenario.exe
fi
vsix=$uscita/lingua-scenario.vsix
rm -f "$vsix"
npx --no-install vsce package --allow-missing-repository --skip-license -o "$vsix" >/dev/null
contenuto=$(unzip -l "$vsix")
for voce in extension/package.json extension/extension.js extension/language-configuration.json \
            extension/syntaxes/sorgente-scenario.tmLanguage.json \
            extension/server/lingua_scenario \
            extension/node_modules/vscode-languageclient/node.js; do
  if ! grep -q " $voce\$" <<<"$contenuto"; then
    echo "verifica.sh: $voce manca in $vsix" >&2
    exit 1
  fi
done
for assente in extension/test/ extension/verifica.sh extension/node_modules/@vscode/vsce/; do
  if grep -q " $assente" <<<"$contenuto"; then
    echo "verifica.sh: $assente non deve stare in $vsix" >&2
    exit 1
  fi
done
echo "pacchetto: $vsix"
