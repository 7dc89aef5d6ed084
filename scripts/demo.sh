#!/bin/sh
# Installs what is missing, builds, and previews the bundled example script on
# a temporary copy of the bundled example folder (photos, music, documents).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh" >/dev/null
exe="$build/src/app/tallowick"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$root/examples/folder" "$work/Example folder"

echo "== The script (examples/demo.twscr)"
"$exe" --describe "$root/examples/demo.twscr"
echo
echo "== Preview: checked, name, new name, flags (R renamed, C collision, I illegal)"
"$exe" --preview "$root/examples/demo.twscr" "$work/Example folder"
echo
echo "== One meta variable, expanded for the photo"
"$exe" --expand 'Taken ?x_dto:Fdddd, mmmm d, yyyy? with a ?x_ma? camera, ?j_w?x?j_h? pixels' \
  "$work/Example folder/IMG_20130517_102030.jpg"
