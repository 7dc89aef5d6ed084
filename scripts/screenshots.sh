#!/bin/sh
# Saves screenshots of the real window to docs/screenshots/: the main window
# with the bundled example folder previewed under the bundled script, and the
# script editor, the meta-variable picker over a selected photo, the
# configuration dialog on its colours and fonts, and the Textfile Import
# wizard matching the bundled list of titles to the files. Runs the window
# under Xvfb; installs Xvfb and ImageMagick (and xdotool, which opens the
# picker and the dialogs) when they are missing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
for p in xvfb xauth imagemagick xdotool; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p"
done
build=${BUILD_DIR:-$root/build-demo}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWICK_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tallowick >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$root/examples/folder" "$work/Example folder"
mkdir -p "$work/home" "$root/docs/screenshots"
cp "$root/examples/demo.twscr" "$work/home/default.twscr"
cp "$root/examples/photo-titles.csv" "$work/photo-titles.csv"
shots="$root/docs/screenshots"
TALLOWICK_HOME="$work/home" xvfb-run -a -s '-screen 0 1280x760x24' sh -c "
  '$build/src/app/tallowick' '$work/Example folder' &
  sleep 5
  import -window root '$shots/main-window.png'
  xdotool mousemove 120 124 click 1
  sleep 0.5
  xdotool key ctrl+m
  sleep 2
  picker=\$(xdotool search --name 'Insert Meta-Variables' | head -1)
  import -window \"\$picker\" '$shots/meta-variable-picker.png'
  xdotool key Escape
  sleep 0.5
  xdotool mousemove 223 8 click 1
  sleep 0.5
  xdotool key Down Return
  sleep 2
  config=\$(xdotool search --name 'Tallowick - Configuration' | head -1)
  xdotool key ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
  sleep 0.5
  import -window \"\$config\" '$shots/configuration.png'
  xdotool key Escape
  sleep 0.5
  xdotool mousemove 223 8 click 1
  sleep 0.5
  xdotool key Up Return
  sleep 1.5
  xdotool key Return
  sleep 0.5
  xdotool type '$work/photo-titles.csv'
  xdotool key Return
  sleep 1
  xdotool key Return
  sleep 1
  wizard=\$(xdotool search --name 'Textfile Import' | head -1)
  import -window \"\$wizard\" '$shots/textfile-import.png'
  kill \$! 2>/dev/null || true"
convert "$shots/main-window.png" -crop 610x600+466+18 +repage "$shots/script-editor.png"
echo "saved main-window.png, script-editor.png, meta-variable-picker.png, configuration.png and textfile-import.png in $shots"
