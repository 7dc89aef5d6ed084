#!/bin/sh
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# into BUILD_DIR (default: build-fuzz) and runs each one for SECONDS (default 30),
# seeded from fuzz/corpus/<target>. New inputs go to a temporary folder, so the
# committed corpus stays as it is. A crash, a sanitizer report, a leak, an input
# that runs longer than 10 s or more than 2 GiB of memory fails the run; the input
# that did it is kept under BUILD_DIR/fuzz-artifacts/<target>/.
#
# Usage: scripts/fuzz.sh [SECONDS]
set -eu
seconds=${1:-30}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}

"$root/scripts/setup.sh"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTALLOWICK_FUZZ=ON -DTALLOWICK_TESTS=OFF
cmake --build "$build" -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
artifacts=$build/fuzz-artifacts
rm -rf "$artifacts"
export UBSAN_OPTIONS=print_stacktrace=1

failed=""
summary=""
for binary in "$build"/fuzz/fuzz_*; do
  [ -f "$binary" ] && [ -x "$binary" ] || continue
  target=${binary##*/fuzz_}
  corpus=$root/fuzz/corpus/$target
  if [ ! -d "$corpus" ]; then
    echo "fuzz_$target: no seed corpus in fuzz/corpus/$target" >&2
    failed="$failed $target"
    continue
  fi
  mkdir -p "$work/$target" "$artifacts/$target"
  log=$work/$target.log
  echo "fuzz_$target: $seconds s"
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/$target/" "$work/$target" "$corpus" >"$log" 2>&1; then
    done_line=$(grep -a 'DONE' "$log" | tail -n 1)
    summary="$summary
fuzz_$target: ${done_line:-no DONE line}"
  else
    echo "fuzz_$target FAILED; the end of its log:" >&2
    tail -n 80 "$log" >&2
    failed="$failed $target"
  fi
done

echo "$summary"
if [ -n "$failed" ]; then
  echo "fuzz targets that failed:$failed (inputs under $artifacts)" >&2
  exit 1
fi
