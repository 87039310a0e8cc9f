# shellcheck shell=bash
# Sourced by the scripts that need Debian packages the machine may not have yet.

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

# The header-only libraries of the author tools (JSON output, command-line arguments). Every
# configuration of the tree needs them, the Windows cross build included.
installa_librerie_strumenti() {
  local mancanti=() pacchetto
  for pacchetto in nlohmann-json3-dev libcli11-dev; do
    pacchetto_installato "$pacchetto" || mancanti+=("$pacchetto")
  done
  installa_pacchetti "${mancanti[@]}"
}
