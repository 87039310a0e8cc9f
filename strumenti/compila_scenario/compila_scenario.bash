# bash completion for compila_scenario: its options; a folder after --cartella and --esempio;
# nothing to offer after --scenario, --treno, --porta and --marcia-parametro; otherwise the sources, .txt files.
_compila_scenario() {
  local corrente=${COMP_WORDS[COMP_CWORD]}
  local precedente=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  case $precedente in
    --cartella | --esempio)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$corrente")
      return
      ;;
    --scenario | --treno | --porta | --marcia-parametro)
      return
      ;;
  esac
  if [[ $corrente == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--cartella --scenario --treno --senza-tracciato
      --json --avvisi-come-errori --marcia --marcia-parametro --osserva --porta --esempio --help
      --version' \
      -- "$corrente")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(
      compgen -d -- "$corrente"
      compgen -f -X '!*.[tT][xX][tT]' -- "$corrente"
    )
  fi
}
complete -F _compila_scenario compila_scenario
