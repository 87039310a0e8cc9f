# shellcheck shell=bash
# Sourced by the checks that compare what two runs of genera_scenario leave in their folders.

# Compares everything in folder $1 but file $2 with everything in folder $3 but file $4: the
# same names, each a regular file with the same bytes. Prints every difference; fails if any.
confronta_cartelle() {
  local a=$1 escluso_a=$2 b=$3 escluso_b=$4 nome esito=0 differenze
  differenze=$(mktemp)
  diff <(cd "$a" && find . -mindepth 1 -maxdepth 1 ! -name "$escluso_a" -printf '%f\n' |
    LC_ALL=C sort) \
    <(cd "$b" && find . -mindepth 1 -maxdepth 1 ! -name "$escluso_b" -printf '%f\n' |
      LC_ALL=C sort) >"$differenze" || {
    echo "  file diversi (< solo in $a, > solo in $b):"
    grep '^[<>]' "$differenze" | sed 's/^/    /'
    esito=1
  }
  while IFS= read -r nome; do
    [ -e "$b/$nome" ] || continue
    if [ ! -f "$a/$nome" ] || [ ! -f "$b/$nome" ]; then
      echo "  $nome non e un file normale in entrambe le cartelle"
      esito=1
    elif ! cmp -s "$a/$nome" "$b/$nome"; then
      echo "  $nome differisce: $(cmp "$a/$nome" "$b/$nome" 2>&1 | head -1)"
      esito=1
    fi
  done < <(cd "$a" && find . -mindepth 1 -maxdepth 1 ! -name "$escluso_a" -printf '%f\n')
  rm -f "$differenze"
  return $esito
}
