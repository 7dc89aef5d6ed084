#!/bin/sh
# Renames 100,000 files on the same disk three ways and prints the times and
# their ratios to the floor: `tallowick -xi` with a script that replaces
# "file_" by "doc_", the Perl `rename` making the same change in one phase,
# and floor.c making it in the same two phases with bare renameat2 calls;
# then `tallowick --undo` of that batch against the rename itself.
# Each tool gets a fresh folder of the same files; the best of RUNS runs
# counts.
#   BUILD_DIR=build bench/rename/run.sh        (FILES=100000 RUNS=3)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
files=${FILES:-100000}
runs=${RUNS:-3}
exe="$build/src/app/tallowick"
if [ ! -x "$exe" ]; then
  BUILD_DIR=$build "$root/scripts/build.sh" >/dev/null
fi
if ! command -v file-rename >/dev/null; then
  echo "Installing the Perl rename (Debian package rename) ..."
  apt-get install -y -qq rename >/dev/null
fi
work=$(mktemp -d "${BENCH_TMP:-/tmp}/tallowick-rename-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/floor" "$root/bench/rename/floor.c"

# The script: one "Find and Replace" step, in the stored form (UTF-16LE with
# byte-order mark, CR LF, "_unicode" keys).
export TALLOWICK_HOME="$work/home"
mkdir -p "$TALLOWICK_HOME"
printf '[SCRIPT0]\r\nTYPE_unicode=3\r\nENABLED_unicode=1\r\ncbxReplacePart_unicode=2\r\ntxtReplacePhrase_unicode=file_\r\ntxtReplaceWith_unicode=doc_\r\ncbxReplaceTarget_unicode=1\r\n' |
  iconv -f UTF-8 -t UTF-16LE > "$work/body"
{ printf '\377\376'; cat "$work/body"; } > "$TALLOWICK_HOME/bench.twscr"

# A fresh folder of $files files named file_000000.txt ...
fresh() {
  rm -rf "$work/f"
  mkdir "$work/f"
  (cd "$work/f" && seq -f 'file_%06g.txt' 0 $((files - 1)) | xargs touch)
  sync
}
now() { date +%s.%N; }
# Runs "$@" on a fresh folder; prints the seconds it took; fails when not
# every file was renamed.
timed() {
  fresh
  start=$(now)
  "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  took=$(awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
  done=$(find "$work/f" -maxdepth 1 -name 'doc_*' | wc -l)
  [ "$done" -eq "$files" ] || { echo "only $done of $files renamed by $1" >&2; exit 1; }
  echo "$took"
}
best() {  # best TOOL ARGS...: the shortest of $runs runs
  b=
  i=0
  while [ $i -lt "$runs" ]; do
    t=$(timed "$@")
    b=$(awk -v a="$t" -v b="${b:-$t}" 'BEGIN { print (a < b ? a : b) }')
    i=$((i + 1))
  done
  echo "$b"
}
# Renames a fresh folder with tallowick, then prints the seconds its --undo
# took; fails when not every file is back.
timed_undo() {
  fresh
  "$exe" -xi bench.twscr "$work/f" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  start=$(now)
  "$exe" --undo >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  took=$(awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
  back=$(find "$work/f" -maxdepth 1 -name 'file_*' | wc -l)
  [ "$back" -eq "$files" ] || { echo "only $back of $files back after --undo" >&2; exit 1; }
  echo "$took"
}
best_undo() {
  b=
  i=0
  while [ $i -lt "$runs" ]; do
    t=$(timed_undo)
    b=$(awk -v a="$t" -v b="${b:-$t}" 'BEGIN { print (a < b ? a : b) }')
    i=$((i + 1))
  done
  echo "$b"
}
perl_rename() { (cd "$work/f" && find . -maxdepth 1 -name 'file_*' -print0 | xargs -0 file-rename 's/file_/doc_/'); }

echo "Renaming $files files in $work (best of $runs runs each) ..."
floor=$(best "$work/floor" "$work/f" file_ doc_)
perl=$(best perl_rename)
ours=$(best "$exe" -xi bench.twscr "$work/f")
undo=$(best_undo)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf '%-34s %8s s  %5sx the floor\n' \
  "floor.c (two phases, renameat2)" "$floor" "1.00" \
  "Perl rename (one phase)" "$perl" "$(ratio "$perl" "$floor")" \
  "tallowick -xi (two phases, undo)" "$ours" "$(ratio "$ours" "$floor")"
printf '%-34s %8s s  %5sx the rename\n' "tallowick --undo of that batch" "$undo" "$(ratio "$undo" "$ours")"
