#!/bin/sh
# Renames 100,000 files on the same disk three ways and prints the times and
# their ratios to the floor: `tallowick -xi` with a script that replaces
# "file_" by "doc_", the Perl `rename` making the same change in one phase,
# and floor.c making it in the same two phases with bare renameat2 calls;
# then `tallowick --undo` of that batch against the rename itself.
# Each tool gets a fresh folder of the same files. The tools take turns in
# each of RUNS rounds, so that a disk that slows down or speeds up over the
# minutes weighs on all of them alike; the best time of each counts, and the
# median of the rounds' own ratios is shown beside it.
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
# Renames a fresh folder with tallowick, then undoes that batch; prints the
# seconds of both; fails when not every file is back.
timed_run_and_undo() {
  took=$(timed "$exe" -xi bench.twscr "$work/f")
  start=$(now)
  "$exe" --undo >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  undone=$(awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
  back=$(find "$work/f" -maxdepth 1 -name 'file_*' | wc -l)
  [ "$back" -eq "$files" ] || { echo "only $back of $files back after --undo" >&2; exit 1; }
  echo "$took $undone"
}
perl_rename() { (cd "$work/f" && find . -maxdepth 1 -name 'file_*' -print0 | xargs -0 file-rename 's/file_/doc_/'); }

echo "Renaming $files files in $work ($runs rounds, the tools in turn) ..."
: >"$work/times"
i=0
while [ $i -lt "$runs" ]; do
  floor=$(timed "$work/floor" "$work/f" file_ doc_)
  perl=$(timed perl_rename)
  both=$(timed_run_and_undo)
  echo "$floor $perl $both" >>"$work/times"
  echo "round $((i + 1)): floor.c $floor s, Perl rename $perl s, -xi and --undo $both s"
  i=$((i + 1))
done
# best COLUMN: the shortest time of that column; median EXPR: the median of
# EXPR over the rounds.
best() { awk -v c="$1" 'NR == 1 || $c < b { b = $c } END { printf "%.3f", b }' "$work/times"; }
median() {
  awk "{ print $1 }" "$work/times" | sort -n |
    awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
floor=$(best 1)
perl=$(best 2)
ours=$(best 3)
undo=$(best 4)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf '%-34s %8s s  %5sx the floor  (median of rounds %sx)\n' \
  "floor.c (two phases, renameat2)" "$floor" "1.00" "1.00" \
  "Perl rename (one phase)" "$perl" "$(ratio "$perl" "$floor")" "$(median '$2 / $1')" \
  "tallowick -xi (two phases, undo)" "$ours" "$(ratio "$ours" "$floor")" "$(median '$3 / $1')"
printf '%-34s %8s s  %5sx the rename (median of rounds %sx)\n' "tallowick --undo of that batch" \
  "$undo" "$(ratio "$undo" "$ours")" "$(median '$4 / $3')"
