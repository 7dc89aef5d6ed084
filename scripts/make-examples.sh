#!/bin/sh
# Writes the example scripts of examples/ with the command line itself
# (--add-step, --set-option), one everyday task each. Run from anywhere after
# a build; TALLOWICK names the executable (default: build/src/app/tallowick),
# EXAMPLES_DIR the folder written (default: examples). Each script is made
# anew: --add-step appends to an existing file.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${TALLOWICK:-$root/build/src/app/tallowick}
out=${EXAMPLES_DIR:-$root/examples}
add() { "$exe" --add-step "$@"; }
set_option() { "$exe" --set-option "$@"; }

# 1. Photos named by the camera get the date they were taken in front.
s="$out/exif-date-prefix.twscr"; rm -f "$s"
set_option "$s" Filter.txtFilter='*.jpg'
add "$s" "Skip/Execute Steps" ceskipremove=Execute ce1=1 cecondition="name matches" cetext='IMG_*'
add "$s" "Add to Beginning/Ending" add='?x_dto:Fyyyy-mm-dd? ' addpart=Name addatthe=Beginning

# 2. Songs become "01 - title.mp3": the counter and the title of the ID3 tag.
s="$out/track-title.twscr"; rm -f "$s"
set_option "$s" Filter.txtFilter='*.mp3'
add "$s" "Replace/Find and Replace" replacepart="Replace entire Name" replacewith='?n02? - ?I_TI?'

# 3. Extensions in lower case: one Find and Replace on the extension per
#    letter (matching ignores case, so each finds its capital).
s="$out/lower-case-extensions.twscr"; rm -f "$s"
for letter in A B C D E F G H I J K L M N O P Q R S T U V W X Y Z; do
  lower=$(printf '%s' "$letter" | tr 'A-Z' 'a-z')
  add "$s" "Find and Replace" replacephrase="$letter" replacewith="$lower" replacetarget=Extension
done

# 4. Blanks in names become underscores; extensions stay as they are.
s="$out/blanks-to-underscores.twscr"; rm -f "$s"
add "$s" "Find and Replace" replacephrase=' ' replacewith=_ replacetarget=Name

# 5. Photos take their names from a list, one line per photo in list order.
#    The list's path is read relative to the current folder: run the
#    preview from the repository's folder.
s="$out/names-from-list.twscr"; rm -f "$s"
set_option "$s" Filter.txtFilter='*.jpg' Text.txtTName=examples/folder/photo-names.txt \
  Text.rbTMatch=1 Text.cbTDelim=0
add "$s" "Replace/Find and Replace" replacepart="Replace entire Name" replacewith='?text1?'
