#!/bin/bash
# The bash completion ($1) keeps names with blanks whole, offers only
# scripts after a mode, and leaves the user's shell options as they were.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # expect DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: got [$3], expected [$2]" >&2
    failures=$((failures + 1))
  fi
}
before=$(shopt -p; set -o | tr -s ' ')
# shellcheck disable=SC1090
source "$1"
expect "shell options" "$before" "$(shopt -p; set -o | tr -s ' ')"

mkdir -p "$work/my photos" "$work/home"
: > "$work/my photos/a b.jpg"
: > "$work/home/sort by date.twscr"
: > "$work/home/notes.txt"
export TALLOWICK_HOME="$work/home"
cd "$work" || exit 1
complete_words() {  # complete_words WORD... : completes the last word
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _tallowick
  printf '%s|' "${COMPREPLY[@]}"
}
expect "a folder with a blank" "my photos|" "$(complete_words tallowick my)"
expect "a file with a blank" "my photos/a b.jpg|" "$(complete_words tallowick "my photos/a")"
expect "scripts of the application folder" "sort by date.twscr|" "$(complete_words tallowick -xi "")"
expect "the folder after a script" "my photos|" "$(complete_words tallowick -xi "sort by date.twscr" my)"
expect "options" "--preview|" "$(complete_words tallowick --pre)"
[ "$failures" -eq 0 ] && echo "all completion checks passed"
exit "$failures"
