#!/bin/sh
# Installs what is missing, builds from scratch and runs every test.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build}
rm -rf "$build"
BUILD_DIR=$build "$root/scripts/build.sh" "$@"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
