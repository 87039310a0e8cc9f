# bash completion for ispeziona_scenario: its options; a file after --html, a folder after
# --confronta; nothing to offer after --scenario and --treno; otherwise the folder of the
# files.
_ispeziona_scenario() {
  local corrente=${COMP_WORDS[COMP_CWORD]}
  local precedente=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  case $precedente in
    --confronta)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$corrente")
      return
      ;;
    --html)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$corrente")
      return
      ;;
    --scenario | --treno)
      return
      ;;
  esac
  if [[ $corrente == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--scenario --treno --json --html --confronta --help --version' \
      -- "$corrente")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$corrente")
  fi
}
complete -F _ispeziona_scenario ispeziona_scenario
