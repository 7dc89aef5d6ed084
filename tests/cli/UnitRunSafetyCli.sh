#!/bin/sh
# Runs the tallowick executable ($1) against what could hang it, move files
# out of the listed folder or let two runs interleave: named pipes read by
# content and tag variables, new names through a symbolic link, and a second
# run while another holds the undo store.
set -u
exe=$1
work=$(mktemp -d)
holder=""
trap '[ -n "$holder" ] && touch "$work/release" && wait "$holder"; rm -rf "$work"' EXIT
export TALLOWICK_HOME="$work/home"
unset DISPLAY WAYLAND_DISPLAY
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() {  # check DESCRIPTION EXPECTED-CODE ACTUAL-CODE
  [ "$2" = "$3" ] || fail "$1: exit code $3, expected $2"
}
contains() {  # contains DESCRIPTION FILE TEXT
  grep -qF -- "$3" "$2" || { fail "$1: missing \"$3\" in:"; cat "$2" >&2; }
}
mkdir -p "$TALLOWICK_HOME"

# Named pipes beside regular files: the file-content and MP3 variables give
# them no value, and neither --preview nor a batch mode waits for a writer.
mkdir -p "$work/pipes"
printf 'abc' > "$work/pipes/a.txt"
mkfifo "$work/pipes/pipe.txt" "$work/pipes/song.mp3"
"$exe" --add-step "$TALLOWICK_HOME/content.twscr" "Add to Beginning/Ending" add='?fcp_1.2?-' \
  > /dev/null 2>&1 || fail "--add-step content.twscr"
"$exe" --add-step "$TALLOWICK_HOME/tag.twscr" "Add to Beginning/Ending" add='?i_ar?' \
  > /dev/null 2>&1 || fail "--add-step tag.twscr"
for script in content tag; do
  timeout -k 5 30 "$exe" --preview "$TALLOWICK_HOME/$script.twscr" "$work/pipes" > "$work/out" 2>&1
  code=$?
  [ $code = 124 ] && fail "--preview with $script variables waits on a named pipe"
  check "--preview with $script variables" 0 $code
done
contains "--preview of the content" "$work/out" "song.mp3: Only regular files are read; this is a named pipe"
timeout -k 5 30 "$exe" -xi content.twscr "$work/pipes" > "$work/out" 2>&1
code=$?
[ $code = 124 ] && fail "-xi with content variables waits on a named pipe"
[ -f "$work/pipes/ab-a.txt" ] || { fail "-xi did not rename the regular file"; ls "$work/pipes" >&2; }
[ -p "$work/pipes/pipe.txt" ] && [ -p "$work/pipes/song.mp3" ] || fail "the named pipes moved"
mkdir -p "$work/tags"
mkfifo "$work/tags/song.mp3"
timeout -k 5 30 "$exe" -ru tag.twscr "$work/tags" > "$work/out" 2>&1
[ $? = 124 ] && fail "-ru with tag variables waits on a named pipe"

# A new name through a symbolic link to a folder outside ("x" becomes "out/")
# fails: the file stays, nothing appears outside, the run reports it.
mkdir -p "$work/listed" "$work/outside"
printf 'V' > "$work/listed/xvictim"
ln -s "$work/outside" "$work/listed/out"
"$exe" --add-step "$TALLOWICK_HOME/escape.twscr" "Replace/Find and Replace" replacephrase=x \
  replacewith=out/ > /dev/null 2>&1 || fail "--add-step escape.twscr"
"$exe" -xi escape.twscr "$work/listed" > "$work/out" 2>&1
check "-xi through a link" 1 $?
contains "-xi through a link" "$work/out" "out is a symbolic link; no name is moved through one"
[ -f "$work/listed/xvictim" ] || fail "the file left the listed folder"
[ -z "$(ls -A "$work/outside")" ] || fail "something appeared outside: $(ls -A "$work/outside")"

# One run at a time: while another process holds the undo store, a run waits
# a little and then refuses, naming the folder; once it is free, runs go on.
mkdir -p "$TALLOWICK_HOME/undo" "$work/free"
printf 'xyz' > "$work/free/b.txt"
# The holder keeps the lock until it finds "release" (at most 60 s).
flock -x "$TALLOWICK_HOME/undo/run.lock" sh -c "touch '$work/held'
  for _ in \$(seq 600); do [ -e '$work/release' ] && break; sleep 0.1; done" &
holder=$!
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done
[ -e "$work/held" ] || fail "the lock holder did not start"
for run in "--undo" "--recover" "-xi content.twscr $work/free"; do
  start=$(date +%s)
  # shellcheck disable=SC2086
  timeout -k 5 30 "$exe" $run > "$work/out" 2>&1
  check "'$run' while another run holds the store" 1 $?
  contains "'$run' while another run holds the store" "$work/out" \
    "tallowick: another run is using $TALLOWICK_HOME/undo; try again when it has ended"
  [ $(($(date +%s) - start)) -ge 1 ] || fail "'$run' gave up without waiting"
  [ -f "$work/free/b.txt" ] || fail "'$run' renamed while another run held the store"
done
touch "$work/release"
wait "$holder"
holder=""
timeout -k 5 30 "$exe" -xi content.twscr "$work/free" > "$work/out" 2>&1
check "-xi once the store is free" 0 $?
timeout -k 5 30 "$exe" --undo > "$work/out" 2>&1
check "--undo once the store is free" 0 $?
[ -f "$work/free/b.txt" ] || fail "--undo did not bring b.txt back"

[ "$failures" -eq 0 ] && echo "all run-safety checks passed"
exit "$failures"
