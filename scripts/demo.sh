#!/bin/sh
# Installs what is missing, builds, and expands a few meta variables for the
# bundled example files.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh" >/dev/null
exe="$build/src/app/tallowick"
for f in "$root"/examples/files/*; do
  printf '%s\n' "$(basename "$f")"
  for text in '?n02? - ?cfo?' '?cf? / ?t? / ?zc? bytes' '?cds:Fyyyy-mm-dd? ?cfo:L_20?' '?fcp_1.12?'; do
    printf '  %-32s -> %s\n' "$text" "$("$exe" --expand "$text" "$f")"
  done
done
