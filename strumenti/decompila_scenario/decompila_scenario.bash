# bash completion for decompila_scenario: its options; a folder after --cartella; nothing to
# offer after --scenario and --treno; otherwise the folder of the compiled files.
_decompila_scenario() {
  local corrente=${COMP_WORDS[COMP_CWORD]}
  local precedente=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  case $precedente in
    --scenario | --treno)
      return
      ;;
  esac
  if [[ $corrente == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--scenario --treno --cartella --help --version' \
      -- "$corrente")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$corrente")
  fi
}
complete -F _decompila_scenario decompila_scenario
