#!/usr/bin/env bash
# Checks the Debian package as a user gets it. Builds it (scripts/pacchetti.sh deb), has
# lintian look at it (no error allowed), installs it on this machine with dpkg and checks:
#  - each program of the package runs from the PATH and prints its name and the version of
#    the CMake project for --version;
#  - the installed genera_scenario, copied into a folder of its own (it writes beside its
#    executable), leaves there the files of the build whose bytes the test uscita_fissata_test
#    pins (that test runs first, on the build in build/test);
#  - man renders each program's manual page, and man finds it by the program's name;
#  - each tool's bash completion loads as bash-completion loads it, and completes its options:
#    the same as its --help and its manual page list;
# then removes the package and checks that none of its files is left (a copy installed before
# the check is removed too). dpkg runs as root, or through sudo. Installs what it needs
# from Debian's packages. Exits non-zero and says why on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$(pwd)

fallisci() {
  echo "verifica_pacchetto_debian: ERRORE: $*" >&2
  exit 1
}

source scripts/installa_pacchetti.sh
source scripts/confronta_cartelle.sh
mancanti=()
comandi_mancanti cmake make g++
pacchetti_mancanti lintian man-db mandoc bash-completion libgtest-dev libssl-dev
installa_pacchetti "${mancanti[@]}"
installa_librerie_strumenti

./scripts/pacchetti.sh deb
pacchetto=genera-scenario
deb=$(ls build/pacchetti/${pacchetto}_*.deb)
versione=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/pacchetti/linux/CMakeCache.txt)
[ -n "$versione" ] || fallisci "nessuna versione nel progetto CMake di build/pacchetti/linux"
[ "$(dpkg-deb -f "$deb" Version)" = "$versione" ] ||
  fallisci "il pacchetto ha la versione $(dpkg-deb -f "$deb" Version), il progetto $versione"

# dpkg as root, or through sudo.
come_root=()
if [ "$(id -u)" -ne 0 ]; then
  come_root=(sudo)
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/verifica_pacchetto_XXXXXX")
pulisci() {
  if pacchetto_installato "$pacchetto"; then
    "${come_root[@]}" dpkg -r "$pacchetto" >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap pulisci EXIT

# --- lintian ----------------------------------------------------------------------------------

echo "lintian"
# lintian warns that it runs as root, which is where this check runs.
lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges' \
  >"$tmp/lintian.txt" || true
sed 's/^/  /' "$tmp/lintian.txt"
if grep -q '^E:' "$tmp/lintian.txt"; then
  fallisci "lintian trova errori nel pacchetto"
fi
echo "  nessun errore ($(grep -c '^W:' "$tmp/lintian.txt" || true) avvisi)"

# --- The reference run ------------------------------------------------------------------------

# The build whose bytes are pinned: its test first, then its run in a folder of its own.
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test --target genera_scenario uscita_fissata_test -j"$(nproc)" >/dev/null
ctest --test-dir build/test -R '^UscitaFissata\.' --output-on-failure --no-tests=error >/dev/null ||
  fallisci "la costruzione di riferimento non scrive i byte fissati (uscita_fissata_test)"
mkdir "$tmp/riferimento"
cp build/test/app/genera_scenario "$tmp/riferimento/"
(cd "$tmp/riferimento" && ./genera_scenario >/dev/null) ||
  fallisci "la corsa di riferimento non riesce"

# --- Installation -----------------------------------------------------------------------------

if pacchetto_installato "$pacchetto"; then
  echo "Rimozione del $pacchetto installato prima"
  "${come_root[@]}" dpkg -r "$pacchetto" >/dev/null
fi
# The package's paths, and which of them the machine had before (the folders it shares).
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^$' >"$tmp/percorsi"
while IFS= read -r percorso; do
  if [ -e "$percorso" ]; then echo "$percorso"; fi
done <"$tmp/percorsi" >"$tmp/gia_presenti"

echo "Installazione con dpkg -i"
"${come_root[@]}" dpkg -i "$deb" >"$tmp/dpkg.log" 2>&1 ||
  fallisci "dpkg -i non riuscito: $(cat "$tmp/dpkg.log")"
dpkg -L "$pacchetto" >"$tmp/file_del_pacchetto"

programmi=$(grep '^/usr/bin/.' "$tmp/file_del_pacchetto" | xargs -n1 basename)
[ -n "$programmi" ] || fallisci "il pacchetto non ha programmi"
mkdir "$tmp/versione"
for programma in $programmi; do
  [ "$(command -v "$programma")" = "/usr/bin/$programma" ] ||
    fallisci "$programma non si trova nel PATH come /usr/bin/$programma"
  riga=$(cd "$tmp/versione" && "$programma" --version) || fallisci "$programma --version non riesce"
  [ "$riga" = "$programma $versione" ] ||
    fallisci "$programma --version scrive '$riga', non '$programma $versione'"
  [ -z "$(ls -A "$tmp/versione")" ] || fallisci "$programma --version ha scritto dei file"
  echo "  $programma dal PATH: $riga"
done

# --- genera_scenario, in a folder of its own -----------------------------------------------------

mkdir "$tmp/corsa"
cp /usr/bin/genera_scenario "$tmp/corsa/"
(cd "$tmp/corsa" && ./genera_scenario >"$tmp/corsa.log" 2>&1) ||
  fallisci "genera_scenario installato non riesce: $(cat "$tmp/corsa.log")"
confronta_cartelle "$tmp/riferimento" genera_scenario "$tmp/corsa" genera_scenario ||
  fallisci "genera_scenario installato non scrive i byte fissati"
echo "  genera_scenario installato: $(find "$tmp/corsa" -type f ! -name genera_scenario | wc -l)" \
  "file identici a quelli fissati"

# --- Manual pages -------------------------------------------------------------------------------

for programma in $programmi; do
  pagina=/usr/share/man/man1/$programma.1.gz
  grep -qx "$pagina" "$tmp/file_del_pacchetto" || fallisci "$programma non ha la pagina $pagina"
  [ "$(man -w "$programma")" = "$pagina" ] || fallisci "man non trova $pagina per $programma"
  MANWIDTH=80 man -l "$pagina" 2>"$tmp/man.err" >"$tmp/man.txt" ||
    fallisci "man -l $pagina non riesce: $(cat "$tmp/man.err")"
  [ ! -s "$tmp/man.err" ] || fallisci "man -l $pagina: $(cat "$tmp/man.err")"
  for sezione in NOME SINTESI OPZIONI "STATO D'USCITA" FILE ESEMPIO; do
    grep -qx "$sezione" "$tmp/man.txt" || fallisci "la pagina di $programma non ha $sezione"
  done
  grep -q "^ *$programma - " "$tmp/man.txt" || fallisci "la pagina di $programma non lo nomina"
  echo "  man -l $pagina: $(wc -l <"$tmp/man.txt") righe"
done

# --- Bash completion ----------------------------------------------------------------------------

completamenti=$(grep '^/usr/share/bash-completion/completions/.' "$tmp/file_del_pacchetto" || true)
[ -n "$completamenti" ] || fallisci "il pacchetto non ha completamenti"
for file in $completamenti; do
  strumento=$(basename "$file")
  bash prove/opzioni_coerenti.sh "$(command -v "$strumento")" "$file" \
    "/usr/share/man/man1/$strumento.1.gz" | sed 's/^/  /' ||
    fallisci "le opzioni di $strumento non coincidono"
done

# Completes word $2 of the command line $1 in a bash that loads completions as an interactive
# one does (bash-completion, which finds a command's completion by its name when first asked).
completa() {
  bash -c '
    source /usr/share/bash-completion/bash_completion
    read -ra COMP_WORDS <<<"$1"
    [ "${1: -1}" = " " ] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$1
    COMP_POINT=${#1}
    comando=${COMP_WORDS[0]}
    complete -p "$comando" >/dev/null 2>&1 || _completion_loader "$comando"
    funzione=$(complete -p "$comando" | sed -n "s/.*-F \([^ ]*\).*/\1/p")
    [ -n "$funzione" ] || { echo "nessun completamento per $comando" >&2; exit 1; }
    cd "$2"
    "$funzione" "$comando" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"
  ' _ "$1" "$tmp/corsa"
}
mkdir -p "$tmp/corsa/sorgenti"
for caso in "compila_scenario --sen|--senza-tracciato" \
  "compila_scenario --avv|--avvisi-come-errori" \
  "compila_scenario --cartella sor|sorgenti" \
  "ispeziona_scenario --ht|--html" \
  "ispeziona_scenario sor|sorgenti" \
  "decompila_scenario --ca|--cartella"; do
  riga=${caso%|*} atteso=${caso#*|}
  ottenuto=$(completa "$riga") || fallisci "il completamento di '$riga' non riesce"
  [ "$ottenuto" = "$atteso" ] ||
    fallisci "'$riga<TAB>' completa in '$ottenuto', non in '$atteso'"
  echo "  $riga<TAB> -> $ottenuto"
done

# --- Removal ------------------------------------------------------------------------------------

echo "Rimozione con dpkg -r"
"${come_root[@]}" dpkg -r "$pacchetto" >"$tmp/dpkg.log" 2>&1 ||
  fallisci "dpkg -r non riuscito: $(cat "$tmp/dpkg.log")"
! pacchetto_installato "$pacchetto" || fallisci "$pacchetto e ancora installato"
rimasti=0
while IFS= read -r percorso; do
  if [ -e "$percorso" ] && ! grep -qxF "$percorso" "$tmp/gia_presenti"; then
    echo "  rimasto: $percorso"
    rimasti=$((rimasti + 1))
  fi
done <"$tmp/percorsi"
[ "$rimasti" -eq 0 ] || fallisci "dpkg -r lascia $rimasti file o cartelle del pacchetto"
echo "  nessun file o cartella del pacchetto e rimasto (dei $(wc -l <"$tmp/percorsi") percorsi," \
  "$(wc -l <"$tmp/gia_presenti") cartelle c'erano gia' prima e restano)"

echo "verifica_pacchetto_debian: tutto bene"
