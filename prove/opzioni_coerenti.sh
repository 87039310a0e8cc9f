#!/usr/bin/env bash
# Checks that a tool's options are the same three times over: those its --help lists, those
# its bash completion offers after "--", and those its manual page describes under OPZIONI.
# Arguments: the program, its completion script, its manual page (roff, gzipped or not).
# Prints the three lists when they differ, and fails.
set -euo pipefail
programma=$1 completamento=$2 pagina=$3
nome=$(basename "$programma")

dall_aiuto=$("$programma" --help | grep -oE '^ +--[a-z][a-z-]*(, --[a-z][a-z-]*)*' |
  grep -oE -- '--[a-z][a-z-]*' | LC_ALL=C sort -u)

# The completion function named by `complete -p`, called as bash calls it on "NOME --<TAB>".
dal_completamento=$(bash -c '
  source "$1"
  funzione=$(complete -p "$2" | sed -n "s/.*-F \([^ ]*\).*/\1/p")
  [ -n "$funzione" ] || { echo "nessuna funzione di completamento per $2" >&2; exit 1; }
  COMP_WORDS=("$2" --)
  COMP_CWORD=1
  COMP_LINE="$2 --"
  COMP_POINT=${#COMP_LINE}
  "$funzione" "$2" -- "$2"
  printf "%s\n" "${COMPREPLY[@]}"
' _ "$completamento" "$nome" | LC_ALL=C sort -u)

# The lines of the OPZIONI section that start an item (seven blanks, then an option).
dal_manuale=$(mandoc -T ascii "$pagina" | sed 's/.\x08//g' |
  sed -n '/^OPZIONI/,/^[A-Z]/p' | grep -E '^ {7}--' | grep -oE -- '--[a-z][a-z-]*' |
  LC_ALL=C sort -u)

if [ "$dall_aiuto" != "$dal_completamento" ] || [ "$dall_aiuto" != "$dal_manuale" ] ||
  [ -z "$dall_aiuto" ]; then
  echo "$nome: le opzioni non coincidono" >&2
  paste <(echo "--help:"; echo "$dall_aiuto") <(echo "completamento:"; echo "$dal_completamento") \
    <(echo "manuale:"; echo "$dal_manuale") >&2
  exit 1
fi
echo "$nome: $(echo "$dall_aiuto" | wc -l) opzioni, le stesse in --help, nel completamento" \
  "e nel manuale"
