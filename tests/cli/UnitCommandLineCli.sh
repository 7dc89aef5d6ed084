#!/bin/sh
# Runs the tallowick executable ($1) the way a user does: batch modes with
# their exit codes and messages, --undo, the usage text, and the forms that
# need the main window started without a display.
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TALLOWICK_HOME="$work/home"
unset DISPLAY WAYLAND_DISPLAY
failures=0

check() {  # check DESCRIPTION EXPECTED-CODE ACTUAL-CODE
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: exit code $3, expected $2" >&2
    failures=$((failures + 1))
  fi
}
contains() {  # contains DESCRIPTION FILE TEXT
  if ! grep -qF -- "$3" "$2"; then
    echo "FAIL: $1: missing \"$3\" in:" >&2
    cat "$2" >&2
    failures=$((failures + 1))
  fi
}

mkdir -p "$TALLOWICK_HOME" "$work/f"
for name in a1 a2 keep; do printf '%s' "$name" > "$work/f/$name"; done
# A script replacing "a" by "b" in names, in the stored form of script files.
printf '[SCRIPT0]\r\nTYPE_unicode=3\r\nENABLED_unicode=1\r\ncbxReplacePart_unicode=2\r\ntxtReplacePhrase_unicode=a\r\ntxtReplaceWith_unicode=b\r\ncbxReplaceTarget_unicode=1\r\n' |
  iconv -f UTF-8 -t UTF-16LE > "$work/body"
{ printf '\377\376'; cat "$work/body"; } > "$TALLOWICK_HOME/ab.twscr"

"$exe" -xi ab.twscr "$work/f" > "$work/out" 2>&1
check "-xi renames everything" 0 $?
[ -f "$work/f/b1" ] && [ -f "$work/f/b2" ] && [ "$(cat "$work/f/b1")" = a1 ] || {
  echo "FAIL: -xi did not rename" >&2; failures=$((failures + 1)); }
"$exe" --undo > "$work/out" 2>&1
check "--undo" 0 $?
[ -f "$work/f/a1" ] && [ -f "$work/f/a2" ] || { echo "FAIL: --undo" >&2; failures=$((failures + 1)); }
"$exe" --undo > "$work/out" 2>&1
check "--undo twice" 1 $?
contains "--undo twice" "$work/out" "nothing to undo"

"$exe" -xu missing.twscr "$work/f" > "$work/out" 2>&1
check "missing script" 1 $?
contains "missing script" "$work/out" "Unable to find script file: $TALLOWICK_HOME/missing.twscr"
"$exe" -xu ab.twscr "$work/nowhere" > "$work/out" 2>&1
check "missing folder" 1 $?
contains "missing folder" "$work/out" "Unable to find the Path listed: "

printf 'taken' > "$work/f/b1"
"$exe" -XU ab.twscr "$work/f" > "$work/out" 2> "$work/err"
check "-xu with a failure" 1 $?
contains "-xu with a failure" "$work/err" "Error: Failed to rename (a1)->(b1). Full undo executed."
[ "$(ls "$work/f" | tr '\n' ' ')" = "a1 a2 b1 keep " ] || {
  echo "FAIL: -xu left $(ls "$work/f")" >&2; failures=$((failures + 1)); }
[ -s "$work/out" ] && { echo "FAIL: -xu wrote to standard output" >&2; failures=$((failures + 1)); }

# --json reports every entry of a batch run on standard output.
mkdir -p "$work/j"
for name in a1 a2 b1; do printf '%s' "$name" > "$work/j/$name"; done
"$exe" -xi ab.twscr "$work/j" --json > "$work/out" 2> "$work/err"
check "-xi --json" 1 $?
contains "-xi --json" "$work/out" '{"path": "a1", "newPath": "b1", "renamed": false, "reasons": ["b1 already exists"]}'
contains "-xi --json" "$work/out" '"counts": {"planned": 2, "renamed": 1, "skipped": 1}, "exitCode": 1}'
contains "-xi --json" "$work/err" "1 of 2 renamed, 1 skipped"
"$exe" --undo > /dev/null 2>&1
check "--undo after -xi --json" 0 $?

# Files that hold no script are refused before anything is listed or renamed.
head -c 3000 /dev/urandom > "$TALLOWICK_HOME/random.twscr"
: > "$TALLOWICK_HOME/empty.twscr"
printf 'just some text\n' > "$TALLOWICK_HOME/text.twscr"
for bad in random empty text; do
  "$exe" -xi "$bad.twscr" "$work/f" > "$work/out" 2>&1
  check "-xi with $bad bytes" 1 $?
  contains "-xi with $bad bytes" "$work/out" "$bad.twscr: not a script (no steps found)"
  "$exe" --preview "$TALLOWICK_HOME/$bad.twscr" "$work/f" > "$work/out" 2>&1
  check "--preview with $bad bytes" 2 $?
done
[ "$(ls "$work/f" | tr '\n' ' ')" = "a1 a2 b1 keep " ] || {
  echo "FAIL: a script that is not one renamed $(ls "$work/f")" >&2; failures=$((failures + 1)); }

# An interrupt stops a run between two entries: -xu puts everything back,
# -xi finishes what it began and stores it for --undo; no temporary name stays.
mkdir -p "$work/many"
(cd "$work/many" && seq 0 9999 | sed 's/^/a/' | xargs touch)
ls "$work/many" | sort > "$work/many.before"
interrupted=0
for mode in -xu -xi; do
  for delay in 0.02 0.05 0.1 0.15; do
    "$exe" $mode ab.twscr "$work/many" > "$work/out" 2>&1 &
    pid=$!
    sleep $delay
    kill -INT $pid 2>/dev/null
    wait $pid
    code=$?
    [ $code = 130 ] && interrupted=$((interrupted + 1))
    [ $code = 130 ] || [ $code = 0 ] || {
      echo "FAIL: $mode interrupted after $delay s: exit code $code" >&2; cat "$work/out" >&2
      failures=$((failures + 1)); }
    if ls "$work/many" | grep -q 'TW_TEMPNAME'; then
      echo "FAIL: $mode interrupted after $delay s left temporary names" >&2
      failures=$((failures + 1))
    fi
    # An interrupted -xu is back by itself; anything else comes back by --undo.
    if [ $mode = -xi ] || [ $code = 0 ]; then
      ls "$work/many" | sort | cmp -s - "$work/many.before" || "$exe" --undo > /dev/null 2>&1
    fi
    ls "$work/many" | sort | cmp -s - "$work/many.before" || {
      echo "FAIL: $mode interrupted after $delay s (exit $code) did not come back whole" >&2
      failures=$((failures + 1)); }
  done
done
echo "interrupted runs: $interrupted of 8"

# Wrong use: one line saying what was wrong, the hint, exit code 2.
for args in "-s" "-xi" "-xu a b c" "-V x" "-bogus" "--preview x" "--bogus"; do
  # shellcheck disable=SC2086
  "$exe" $args > "$work/out" 2> "$work/err"
  check "wrong use '$args'" 2 $?
  contains "wrong use '$args'" "$work/err" "Try 'tallowick --help' for more information."
  [ -s "$work/out" ] && { echo "FAIL: '$args' wrote to standard output" >&2; failures=$((failures + 1)); }
done
contains "unknown option" "$work/err" "tallowick: unrecognized option '--bogus'"
"$exe" -V > "$work/out" 2>&1
check "-V" 0 $?
contains "-V" "$work/out" "tallowick "
# A script path is used as given; its folder is not dropped.
mkdir -p "$work/scripts"
cp "$TALLOWICK_HOME/ab.twscr" "$work/scripts/elsewhere.twscr"
"$exe" -xi "$work/scripts/elsewhere.twscr" "$work/f" > "$work/out" 2>&1
check "-xi with a script path" 1 $?
"$exe" -xi "$work/scripts/missing.csv" "$work/f" > "$work/out" 2>&1
check "-xi with a missing script path" 1 $?
contains "-xi with a missing script path" "$work/out" "Unable to find script file: $work/scripts/missing.csv"
for form in "" "-s ab.twscr" "$work/f"; do
  # shellcheck disable=SC2086
  "$exe" $form > "$work/out" 2>&1
  check "window form '$form'" 1 $?
  contains "window form '$form'" "$work/out" "needs a display"
done
"$exe" --help > "$work/out" 2>&1
check "--help" 0 $?
contains "--help" "$work/out" "--undo"

[ "$failures" -eq 0 ] && echo "all command-line checks passed"
exit "$failures"
