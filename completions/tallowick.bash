# bash completion for tallowick: options, the scripts of the application
# folder after a mode, folders and files elsewhere. Names with blanks stay
# whole; no shell option is changed.

_tallowick_app_folder() {
  if [ -n "${TALLOWICK_HOME:-}" ]; then
    printf '%s' "$TALLOWICK_HOME"
  else
    printf '%s' "${XDG_CONFIG_HOME:-$HOME/.config}/tallowick"
  fi
}

# Adds the lines of standard input to COMPREPLY, one word each.
_tallowick_add() {
  local line
  while IFS= read -r line; do COMPREPLY+=("$line"); done
}

# Folders, and the script files (.twscr, .tw-) among the files.
_tallowick_scripts() {
  local name
  compgen -d -- "$1"
  compgen -f -- "$1" | while IFS= read -r name; do
    case $name in
      *.twscr | *.tw-) printf '%s\n' "$name" ;;
    esac
  done
}

_tallowick() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local first=${COMP_WORDS[1]:-}
  COMPREPLY=()
  if [ "$COMP_CWORD" -eq 1 ]; then
    case $cur in
      -*) _tallowick_add < <(compgen -W '-s -xi -xu -ri -ru --preview --describe --expand
            --undo --recover --add-step --set-option --steps --variables --help --version' -- "$cur") ;;
      *) _tallowick_add < <(compgen -f -- "$cur") ;;
    esac
    return
  fi
  case $(printf '%s' "$first" | tr '[:upper:]' '[:lower:]') in
    -s | -xi | -xu | -ri | -ru)
      if [ "$COMP_CWORD" -eq 2 ]; then
        case $cur in
          */*) _tallowick_add < <(_tallowick_scripts "$cur") ;;
          *) _tallowick_add < <(cd "$(_tallowick_app_folder)" 2>/dev/null &&
               _tallowick_scripts "$cur") ;;
        esac
      elif [[ $cur == -* ]]; then
        _tallowick_add < <(compgen -W '--json' -- "$cur")
      elif [ "$COMP_CWORD" -eq 3 ]; then
        _tallowick_add < <(compgen -d -- "$cur")
      fi
      ;;
    --preview)
      if [[ $cur == -* ]]; then
        _tallowick_add < <(compgen -W '--recursive --json' -- "$cur")
      elif [ "$COMP_CWORD" -eq 2 ]; then
        _tallowick_add < <(_tallowick_scripts "$cur")
      else
        _tallowick_add < <(compgen -d -- "$cur")
      fi
      ;;
    --describe | --add-step | --set-option)
      [ "$COMP_CWORD" -eq 2 ] && _tallowick_add < <(_tallowick_scripts "$cur")
      ;;
    --variables)
      [ "$COMP_CWORD" -eq 2 ] && _tallowick_add < <(compgen -f -- "$cur")
      ;;
    --expand)
      [ "$COMP_CWORD" -eq 3 ] && _tallowick_add < <(compgen -f -- "$cur")
      ;;
    --*) ;;
    *) _tallowick_add < <(compgen -f -- "$cur") ;;
  esac
}
complete -o filenames -F _tallowick tallowick
