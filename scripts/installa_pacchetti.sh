# shellcheck shell=bash
# Sourced by the scripts that need Debian packages the machine may not have yet. A script
# collects what is missing in its array `mancanti` and installs it in one go:
#   mancanti=()
#   comandi_mancanti cmake make g++
#   pacchetti_mancanti libgtest-dev
#   installa_pacchetti "${mancanti[@]}"

# Installs the named Debian packages (none when called without names), as root or via sudo.
installa_pacchetti() {
  [ $# -gt 0 ] || return 0
  echo "Installazione di $*"
  local come_root=()
  if [ "$(id -u)" -ne 0 ]; then
    come_root=(sudo)
  fi
  "${come_root[@]}" apt-get update -qq
  "${come_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "$@" >/dev/null
}

# True when the Debian package is installed.
pacchetto_installato() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

# Adds to the caller's array `mancanti` each named Debian package that is not installed.
pacchetti_mancanti() {
  local pacchetto
  for pacchetto in "$@"; do
    pacchetto_installato "$pacchetto" || mancanti+=("$pacchetto")
  done
}

# Adds to the caller's array `mancanti` each named command that is not found; each must come
# in the Debian package of the same name (cmake, make, g++). A command found on the path is
# enough, wherever it was installed from.
comandi_mancanti() {
  local comando
  for comando in "$@"; do
    command -v "$comando" >/dev/null || mancanti+=("$comando")
  done
}

# The header-only libraries of the author tools (JSON output, command-line arguments, the
# watch mode's HTTP server). Every configuration of the tree needs them, the Windows cross
# build included.
installa_librerie_strumenti() {
  local mancanti=()
  pacchetti_mancanti nlohmann-json3-dev libcli11-dev libboost-dev
  installa_pacchetti "${mancanti[@]}"
}
