#!/bin/sh
# Builds the small media files under tests/data/metadata with real encoders
# and records, in expected.tsv, what ffprobe and exiftool read from the same
# fields, so the reader tests can compare against them without these tools.
# Needs: ffmpeg, ffprobe, exiftool (libimage-exiftool-perl), convert (imagemagick).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/tests/data/metadata
for tool in ffmpeg ffprobe exiftool convert; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
mkdir -p "$out"
cd "$out"
rm -f ./*.jpg ./*.mp3 ./*.avi ./*.mpg ./*.mp4 ./*.mov ./*.wmv expected.tsv

ff() { ffmpeg -hide_banner -loglevel error -y -bitexact "$@"; }

# --- JPEG: ImageMagick pictures, EXIF in both byte orders and XMP by exiftool.
convert -size 640x480 xc:SteelBlue -quality 40 color-plain.jpg
convert -size 320x240 gradient:white-black -colorspace Gray -quality 40 grey-plain.jpg
tag_jpeg() {  # byte order, source, target
  cp "$2" "$3"
  exiftool -q -overwrite_original -ExifByteOrder="$1" \
    -Make="Tallowick Camera Works" -Model="TC-1" \
    -DateTimeOriginal="2013:05:17 10:20:30" -CreateDate="2013:05:17 10:20:31" \
    -ModifyDate="2014:01:02 03:04:05" -ExposureTime=1/125 -FNumber=2.8 -ISO=80 \
    -Artist="Ann Example" -Copyright="(c) Example" -UserComment="A comment" \
    -XResolution=72 -YResolution=72 -ResolutionUnit=inches -Orientation#=6 \
    -ExposureCompensation=-0.7 -SubSecTimeOriginal=42 \
    -XMP-dc:Title="Xmp Title" -XMP-dc:Creator="Xmp Creator" \
    -XMP-dc:Subject=one -XMP-dc:Subject=two -XMP-xmp:Rating=4 "$3"
}
tag_jpeg MM color-plain.jpg color-mm.jpg
tag_jpeg II color-plain.jpg color-ii.jpg
tag_jpeg II grey-plain.jpg grey-ii.jpg

# --- MP3: LAME frames with ID3v2 at the start and ID3v1.1 at the end.
ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=0.1" -ac 2 -c:a libmp3lame \
  -b:a 128k -write_id3v1 1 -id3v2_version 3 -metadata title="Song Title" \
  -metadata artist="Some Artist" -metadata album="An Album" -metadata date=2013 \
  -metadata comment="A comment" -metadata track=7 -metadata genre=Rock stereo-id3.mp3
# A mono MPEG-2 stream without ID3v2, and an ID3v1.1 tag built here.
ff -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=0.1" -ac 1 -c:a libmp3lame \
  -b:a 64k -id3v2_version 0 -write_xing 0 mono-mpeg2.mp3
field() {  # text, length: the text padded with zero bytes
  printf '%s' "$1"
  head -c $(($2 - ${#1})) /dev/zero
}
{
  printf 'TAG'
  field "Mono" 30; field "Solo Voice" 30; field "Script Album" 30; field 1999 4
  field "Built by the script" 28; printf '\000\014\223'  # zero, track 12, genre 147
} >> mono-mpeg2.mp3
ff -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=0.1" -ac 2 -c:a libmp3lame \
  -b:a 192k -write_id3v1 0 -id3v2_version 4 -metadata title="Only ID3v2" no-id3v1.mp3

# --- Video: tiny pictures of one colour, two or three seconds long.
color() { echo "color=c=$1:size=$2:rate=25:duration=$3"; }
ff -f lavfi -i "$(color blue 32x24 2)" -c:v mpeg4 -q:v 31 clip.avi
ff -f lavfi -i "$(color blue 32x32 3)" -c:v mpeg1video -g 25 -b:v 64k -f mpeg clip-mpeg1.mpg
ff -f lavfi -i "$(color green 48x32 3)" -c:v mpeg2video -g 25 -b:v 64k -f vob clip-mpeg2.mpg
ff -f lavfi -i "$(color blue 1920x1080 2)" -f lavfi -i "anullsrc=r=8000:cl=mono" -t 2 \
  -c:v libx264 -preset ultrafast -crf 51 -c:a aac -b:a 8k \
  -metadata title="Mp4 Title" -metadata artist="Mp4 Artist" clip.mp4
ff -f lavfi -i "$(color red 48x32 2)" -c:v mpeg4 -q:v 31 -metadata title="Mov Title" clip.mov
ff -f lavfi -i "$(color blue 40x30 2)" -c:v wmv2 -q:v 31 -metadata title="Wmv Title" \
  -metadata author="Wmv Author" -metadata copyright="Wmv Copyright" clip.wmv

# --- Expected values: file, variable, value (tab-separated).
row() { printf '%s\t%s\t%s\n' "$1" "$2" "$3" >> expected.tsv; }
exif() { exiftool -s3 -d '%Y-%m-%d %H:%M:%S' "$@"; }
for f in color-plain.jpg grey-plain.jpg color-mm.jpg color-ii.jpg grey-ii.jpg; do
  row "$f" '?j_w?' "$(exif -File:ImageWidth "$f")"
  row "$f" '?j_h?' "$(exif -File:ImageHeight "$f")"
  row "$f" '?j_b?' "$(( $(exif -File:BitsPerSample "$f") * $(exif -File:ColorComponents "$f") ))"
done
for f in color-mm.jpg color-ii.jpg grey-ii.jpg; do
  row "$f" '?x_ma?' "$(exif -EXIF:Make "$f")"
  row "$f" '?x_mo?' "$(exif -EXIF:Model "$f")"
  row "$f" '?x_a?' "$(exif -EXIF:Artist "$f")"
  row "$f" '?x_co?' "$(exif -EXIF:Copyright "$f")"
  row "$f" '?x_dto?' "$(exif -EXIF:DateTimeOriginal "$f")"
  row "$f" '?x_dtd?' "$(exif -EXIF:CreateDate "$f")"
  row "$f" '?x_dt?' "$(exif -EXIF:ModifyDate "$f")"
  row "$f" '?x_et?' "$(exif -EXIF:ExposureTime "$f")"
  row "$f" '?x_fn?' "$(exif -EXIF:FNumber "$f")"
  row "$f" '?x_xr?' "$(exif -EXIF:XResolution "$f")"
  row "$f" '?x_o?' "$(exif -n -EXIF:Orientation "$f")"
  row "$f" '?x_ssto?' "$(exif -EXIF:SubSecTimeOriginal "$f")"
  row "$f" '?x_ev?' "$(exif -EXIF:ExifVersion "$f")"
  row "$f" '?x_uc?' "$(exif -EXIF:UserComment "$f")"
  row "$f" '?xmp_dc_title?' "$(exif -XMP-dc:Title "$f")"
  row "$f" '?xmp_dc_creator?' "$(exif -XMP-dc:Creator "$f")"
  row "$f" '?xmp_xmp_rating?' "$(exif -XMP-xmp:Rating "$f")"
done
for f in stereo-id3.mp3 mono-mpeg2.mp3; do
  row "$f" '?i_ti?' "$(exif -ID3v1:Title "$f")"
  row "$f" '?i_ar?' "$(exif -ID3v1:Artist "$f")"
  row "$f" '?i_al?' "$(exif -ID3v1:Album "$f")"
  row "$f" '?i_y?' "$(exif -ID3v1:Year "$f")"
  row "$f" '?i_c?' "$(exif -ID3v1:Comment "$f")"
  row "$f" '?i_g?' "$(exif -ID3v1:Genre "$f")"
  row "$f" '?i_tr?' "$(exif -ID3v1:Track "$f")"
done
for f in stereo-id3.mp3 mono-mpeg2.mp3 no-id3v1.mp3; do
  row "$f" '?m_b?' "$(( $(exif -n -MPEG:AudioBitrate "$f") / 1000 ))"
  row "$f" '?m_s?' "$(exif -MPEG:SampleRate "$f")"
  row "$f" '?m_c?' "$([ "$(exif -n -MPEG:ChannelMode "$f")" = 3 ] && echo 1 || echo 2)"
done
probe() { ffprobe -v error -of default=noprint_wrappers=1:nokey=1 "$@"; }
hms() { awk '{ s = int($1); printf "%02d-%02d-%02d", s / 3600, (s / 60) % 60, s % 60 }'; }
for f in clip.avi clip-mpeg1.mpg clip-mpeg2.mpg clip.mp4 clip.mov clip.wmv; do
  row "$f" '?v_wd?' "$(probe -select_streams v:0 -show_entries stream=width "$f")"
  row "$f" '?v_ht?' "$(probe -select_streams v:0 -show_entries stream=height "$f")"
done
for f in clip.avi clip.mp4 clip.mov clip.wmv; do
  row "$f" '?v_len?' "$(probe -show_entries format=duration "$f" | hms)"
done
row clip.mp4 '?v_qt__nam?' "$(probe -show_entries format_tags=title clip.mp4)"
row clip.mp4 '?v_qt__art?' "$(probe -show_entries format_tags=artist clip.mp4)"
row clip.mov '?v_qt__nam?' "$(probe -show_entries format_tags=title clip.mov)"
row clip.wmv '?v_ms_title?' "$(probe -show_entries format_tags=title clip.wmv)"
row clip.wmv '?v_ms_author?' "$(probe -show_entries format_tags=artist clip.wmv)"
row clip.wmv '?v_ms_copyright?' "$(probe -show_entries format_tags=copyright clip.wmv)"
rm -f color-plain.jpg_original
ls -l "$out"
