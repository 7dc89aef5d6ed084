#!/bin/sh
# Times the metadata readers against other tools over the same files:
# "?x_dto?" from 2,000 JPEGs (against exiftool and exiv2) and "?v_len?" from
# 200 videos (against exiftool), all copies made in a temporary folder.
# Needs a build with -DTALLOWICK_BENCH=ON (bench_metadata_files), and
# exiftool, exiv2, ffmpeg and convert.
#   BUILD_DIR=build-bench bench/metadata/run.sh
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
bin=${BENCH_BIN:-$build/bench/metadata/bench_metadata_files}
jpegs=${JPEGS:-2000}
videos=${VIDEOS:-200}
[ -x "$bin" ] || { echo "missing $bin: build with -DTALLOWICK_BENCH=ON" >&2; exit 1; }
for tool in exiftool exiv2 ffmpeg convert; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

now() { date +%s.%N; }
# Runs a command with its output thrown away; prints the seconds it took.
timed() {
  start=$(now)
  "$@" >/dev/null 2>&1
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f", a - b }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

echo "Making $jpegs JPEGs and $videos videos in $tmp ..."
mkdir "$tmp/jpeg" "$tmp/video"
convert -size 1024x768 plasma:fractal -seed 7 -quality 85 "$tmp/photo.jpg"
exiftool -q -overwrite_original -Make="Bench" -Model="B-1" -DateTimeOriginal="2013:05:17 10:20:30" \
  -ExposureTime=1/125 -FNumber=2.8 -ISO=200 -XMP-dc:Title="Bench" "$tmp/photo.jpg"
i=0
while [ $i -lt "$jpegs" ]; do
  cp "$tmp/photo.jpg" "$tmp/jpeg/p$i.jpg"
  i=$((i + 1))
done
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
src="testsrc=size=160x120:rate=25:duration=10"
ff -f lavfi -i "$src" -c:v mpeg4 -q:v 10 "$tmp/v.avi"
ff -f lavfi -i "$src" -c:v mpeg1video -b:v 300k -f mpeg "$tmp/v.mpg"
ff -f lavfi -i "$src" -c:v libx264 -preset ultrafast "$tmp/v.mp4"
ff -f lavfi -i "$src" -c:v mpeg4 -q:v 10 "$tmp/v.mov"
ff -f lavfi -i "$src" -c:v wmv2 -q:v 10 "$tmp/v.wmv"
i=0
while [ $i -lt "$videos" ]; do
  for ext in avi mpg mp4 mov wmv; do
    [ $i -lt "$videos" ] && cp "$tmp/v.$ext" "$tmp/video/v$i.$ext"
    i=$((i + 1))
  done
done
find "$tmp/jpeg" -type f | sort > "$tmp/jpegs.txt"
find "$tmp/video" -type f | sort > "$tmp/videos.txt"
cat "$tmp"/jpeg/* "$tmp"/video/* > /dev/null  # warm the page cache for every tool alike

echo "Checking the values agree ..."
ours=$("$bin" --print '?x_dto?' "$tmp/jpegs.txt" 2>/dev/null | sort | uniq -c)
theirs=$(exiftool -q -d '%Y-%m-%d %H:%M:%S' -p '$DateTimeOriginal' -@ "$tmp/jpegs.txt" | sort | uniq -c)
[ "$ours" = "$theirs" ] || { echo "values differ: ours [$ours] exiftool [$theirs]" >&2; exit 1; }
echo "  ?x_dto?: $ours"
echo "  ?v_len?: $("$bin" --print '?v_len?' "$tmp/videos.txt" 2>/dev/null | sort | uniq -c | tr '\n' ' ')"

echo "Timing (warm cache) ..."
t_ours=$(timed "$bin" '?x_dto?' "$tmp/jpegs.txt")
t_exiftool=$(timed exiftool -q -p '$DateTimeOriginal' -@ "$tmp/jpegs.txt")
t_exiv2=$(timed exiv2 -g Exif.Photo.DateTimeOriginal pr $(cat "$tmp/jpegs.txt"))
v_ours=$(timed "$bin" '?v_len?' "$tmp/videos.txt")
v_exiftool=$(timed exiftool -q -p '$Duration' -@ "$tmp/videos.txt")

printf '%-34s %10s %10s\n' "" "seconds" "ratio"
printf '%-34s %10.3f %10s\n' "?x_dto? x $jpegs, readers" "$t_ours" "1.0"
printf '%-34s %10.3f %10s\n' "exiftool -p '\$DateTimeOriginal'" "$t_exiftool" "$(ratio "$t_exiftool" "$t_ours")"
printf '%-34s %10.3f %10s\n' "exiv2 -g ...DateTimeOriginal pr" "$t_exiv2" "$(ratio "$t_exiv2" "$t_ours")"
printf '%-34s %10.3f %10s\n' "?v_len? x $videos, readers" "$v_ours" "1.0"
printf '%-34s %10.3f %10s\n' "exiftool -p '\$Duration'" "$v_exiftool" "$(ratio "$v_exiftool" "$v_ours")"
echo "(ratio: the tool's time / the readers' time; above 1 means the readers are faster)"
