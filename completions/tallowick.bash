# bash completion for tallowick: options, the scripts of the application
# folder after a mode, folders and files elsewhere.
_tallowick_app_folder() {
  if [ -n "${TALLOWICK_HOME:-}" ]; then
    printf '%s' "$TALLOWICK_HOME"
  else
    printf '%s' "${XDG_CONFIG_HOME:-$HOME/.config}/tallowick"
  fi
}

_tallowick() {
  local cur prev first
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD-1]}
  first=${COMP_WORDS[1]:-}
  if [ "$COMP_CWORD" -eq 1 ]; then
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W '-s -xi -xu -ri -ru --preview --describe --expand --undo --help --version' -- "$cur"))
    else
      COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -- "$cur"))
    fi
    return
  fi
  case ${first,,} in
    -s|-xi|-xu|-ri|-ru)
      if [ "$COMP_CWORD" -eq 2 ]; then
        local folder
        folder=$(_tallowick_app_folder)
        COMPREPLY=($(cd "$folder" 2>/dev/null && compgen -f -X '!*.@(twscr|tw-)' -- "$cur"))
      elif [ "$COMP_CWORD" -eq 3 ]; then
        COMPREPLY=($(compgen -d -- "$cur"))
      fi
      ;;
    --preview)
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--recursive --json' -- "$cur"))
      elif [ "$COMP_CWORD" -eq 2 ]; then
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(twscr|tw-)' -- "$cur"))
      else
        COMPREPLY=($(compgen -d -- "$cur"))
      fi
      ;;
    --describe)
      [ "$COMP_CWORD" -eq 2 ] &&
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(twscr|tw-)' -- "$cur"))
      ;;
    --expand)
      [ "$COMP_CWORD" -eq 3 ] && COMPREPLY=($(compgen -f -- "$cur"))
      ;;
    --*) ;;
    *)
      COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -- "$cur"))
      ;;
  esac
}
shopt -s extglob 2>/dev/null
complete -o filenames -F _tallowick tallowick
