#!/bin/sh
# Runs the tallowick executable ($1) as the committed scripts do: the example
# scripts made by scripts/make-examples.sh must equal the committed ones, the
# manual page must hold the tables --manual-tables prints, and --steps and
# --variables answer.
set -u
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TALLOWICK_HOME="$work/home"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

mkdir -p "$work/examples"
TALLOWICK=$exe EXAMPLES_DIR="$work/examples" sh "$root/scripts/make-examples.sh" > "$work/out" 2>&1 ||
  fail "make-examples.sh: $(cat "$work/out")"
for made in "$work"/examples/*.twscr; do
  name=$(basename "$made")
  cmp -s "$made" "$root/examples/$name" ||
    fail "examples/$name differs from what scripts/make-examples.sh makes"
done
TALLOWICK=$exe sh "$root/scripts/make-script-manual.sh" --check || fail "docs/tallowick-script.5"

"$exe" --steps > "$work/out" 2>&1 || fail "--steps: exit code $?"
grep -q "^17	Find and Edit$" "$work/out" || fail "--steps lists no Find and Edit"
"$exe" --variables "$root/examples/folder/IMG_20130517_102030.jpg" > "$work/out" 2>&1 ||
  fail "--variables FILE: exit code $?"
grep -q "^?J_W?	Width	640$" "$work/out" ||
  fail "--variables FILE: no width"
"$exe" --variables "$work/missing.jpg" > "$work/out" 2>&1
[ $? -eq 2 ] || fail "--variables with a missing file does not give 2"
"$exe" --add-step "$work/x.twscr" Fnd > "$work/out" 2>&1
[ $? -eq 2 ] && grep -q "tallowick: --add-step: unknown kind 'Fnd'" "$work/out" && [ ! -e "$work/x.twscr" ] ||
  fail "--add-step with a bad kind"
exit $failures
