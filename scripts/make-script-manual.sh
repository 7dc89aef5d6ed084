#!/bin/sh
# Splices the tables that come from the code (step kinds, option keys, meta
# variables) into docs/tallowick-script.5, between its "BEGIN GENERATED" and
# "END GENERATED" comment lines, from the output of `tallowick
# --manual-tables`. With --check it changes nothing and fails when the page
# differs from what it would write. TALLOWICK names the executable (default:
# build/src/app/tallowick).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${TALLOWICK:-$root/build/src/app/tallowick}
page="$root/docs/tallowick-script.5"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$exe" --manual-tables > "$work/tables"
awk -v tables="$work/tables" '
  BEGIN {
    while ((getline line < tables) > 0) {
      if (line ~ /^\.\\" BEGIN GENERATED /) { split(line, w, " "); name = w[4]; sub(/:$/, "", name) }
      block[name] = block[name] line "\n"
    }
  }
  /^\.\\" BEGIN GENERATED / {
    split($0, w, " "); name = w[4]; sub(/:$/, "", name)
    if (!(name in block)) { print "no generated table " name > "/dev/stderr"; exit 1 }
    printf "%s", block[name]; skipping = 1; next
  }
  /^\.\\" END GENERATED / { skipping = 0; next }
  !skipping { print }
' "$page" > "$work/page"
if [ "${1:-}" = --check ]; then
  if ! cmp -s "$work/page" "$page"; then
    echo "docs/tallowick-script.5 differs from the code's tables; run scripts/make-script-manual.sh" >&2
    diff "$page" "$work/page" >&2 || true
    exit 1
  fi
else
  cp "$work/page" "$page"
fi
