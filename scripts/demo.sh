#!/bin/sh
# Installs what is missing, builds, and shows the bundled example script at
# work on a temporary copy of the bundled example folder (photos, music,
# documents): its steps, the preview, one meta variable, then a real rename
# in batch mode and its undo.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# Only the program is built here, without the tests (scripts/test.sh builds
# and runs those), into a folder of its own.
build=${BUILD_DIR:-$root/build-demo}
echo "== Building tallowick into $build (the program only; scripts/test.sh builds the tests) ..."
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWICK_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tallowick | grep -v '^\[' || true
exe="$build/src/app/tallowick"
echo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$root/examples/folder" "$work/Example folder"
# The application folder of this demo: settings, the undo store and the
# scripts the batch modes run live here, not in ~/.config/tallowick.
export TALLOWICK_HOME="$work/home"
mkdir -p "$TALLOWICK_HOME"
cp "$root/examples/demo.twscr" "$TALLOWICK_HOME/"

echo "== The script (examples/demo.twscr)"
"$exe" --describe "$root/examples/demo.twscr"
echo
echo "== Preview: checked, name, new name, flags (R renamed, C collision, I illegal)"
"$exe" --preview "$root/examples/demo.twscr" "$work/Example folder"
echo
echo "== One meta variable, expanded for the photo"
"$exe" --expand 'Taken ?x_dto:Fdddd, mmmm d, yyyy? with a ?x_ma? camera, ?j_w?x?j_h? pixels' \
  "$work/Example folder/IMG_20130517_102030.jpg"
echo
echo "== Before renaming"
ls -1 "$work/Example folder"
echo
echo "== tallowick -xu demo.twscr \"Example folder\"  (rename; undo everything on an error)"
"$exe" -xu demo.twscr "$work/Example folder"
echo "exit code $?"
ls -1 "$work/Example folder"
echo
echo "== tallowick --undo  (reverse the last batch)"
"$exe" --undo
ls -1 "$work/Example folder"
