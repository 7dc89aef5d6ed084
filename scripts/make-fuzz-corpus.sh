#!/bin/sh
# Writes the seed corpus of every fuzz target under fuzz/corpus/<target>/:
# the small fixtures of tests/data (with the choice bytes a target reads in
# front of them) and short hand-made inputs in each target's layout (see the
# comment at the top of fuzz/Fuzz<Target>.cpp). Rewrites the folder.
#
# Usage: scripts/make-fuzz-corpus.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
data=$root/tests/data
out=$root/fuzz/corpus
rm -rf "$out"

# seed TARGET NAME: stdin becomes fuzz/corpus/TARGET/NAME.
seed() {
  mkdir -p "$out/$1"
  cat >"$out/$1/$2"
}
# fixture TARGET NAME PREFIX FILE: PREFIX (printf escapes) followed by FILE.
fixture() {
  { printf "$3"; cat "$4"; } | seed "$1" "$2"
}

# --- metadata readers: byte 0 chooses stream reading (mp3) or the container (video).
for f in stereo-id3 no-id3v1 mono-mpeg2; do
  fixture mp3 "$f-stream" '\001' "$data/metadata/$f.mp3"
done
fixture mp3 stereo-id3-tags '\000' "$data/metadata/stereo-id3.mp3"
mkdir -p "$out/jpeg"
for f in color-plain color-ii color-mm grey-plain grey-ii; do
  cp "$data/metadata/$f.jpg" "$out/jpeg/$f"
done
fixture video avi '\000' "$data/metadata/clip.avi"
fixture video mpeg1 '\001' "$data/metadata/clip-mpeg1.mpg"
fixture video mpeg2 '\001' "$data/metadata/clip-mpeg2.mpg"
fixture video mp4 '\002' "$data/metadata/clip.mp4"
fixture video mov '\002' "$data/metadata/clip.mov"
fixture video wmv '\003' "$data/metadata/clip.wmv"

seed xmp packet <<'EOF'
<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>
<x:xmpmeta xmlns:x="adobe:ns:meta/">
 <rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns:dc="http://purl.org/dc/elements/1.1/">
  <rdf:Description rdf:about="" xmlns:xmp="http://ns.adobe.com/xap/1.0/" xmp:CreateDate="2013-05-17T10:20:31">
   <dc:title><rdf:Alt><rdf:li xml:lang="x-default">Xmp Title</rdf:li></rdf:Alt></dc:title>
   <dc:creator><rdf:Seq><rdf:li>Xmp Creator</rdf:li><rdf:li>Second</rdf:li></rdf:Seq></dc:creator>
   <xmp:CreatorTool rdf:resource="http://example.org/tool"/>
  </rdf:Description>
 </rdf:RDF>
</x:xmpmeta>
<?xpacket end="w"?>
EOF
seed xmp attributes <<'EOF'
<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"><rdf:Description xmlns:tiff="http://ns.adobe.com/tiff/1.0/" tiff:Make="Maker" tiff:Orientation="6"/></rdf:RDF></x:xmpmeta>
EOF

# --- the INI store and script files (byte 0 of the script target: 0 ".twscr", 1 ".tw-").
mkdir -p "$out/myinifile"
cp "$data/config/tw-current.ini" "$out/myinifile/tw-current"
cp "$data/config/tw-old-plain.ini" "$out/myinifile/tw-old-plain"
cp "$data/config/customcolumns-cp1252.ini" "$out/myinifile/customcolumns-cp1252"
cp "$data/scripts/default.twscr" "$out/myinifile/default-twscr"
cp "$data/scripts/classic-plain.tw-" "$out/myinifile/classic-plain"
for f in default options plain-keys no-steps; do
  fixture script "$f" '\000' "$data/scripts/$f.twscr"
done
for f in bad-values duplicate-sections gap lone-surrogates unknown-type no-equals; do
  fixture script "malformed-$f" '\000' "$data/scripts/malformed/$f.twscr"
done
fixture script classic '\001' "$data/scripts/classic.tw-"
fixture script classic-plain '\001' "$data/scripts/classic-plain.tw-"

# --- text files: delimiter, layout, eight (start, length) searches, then the file.
searches='\000\004\020\003\040\005\060\002\100\006\140\003\200\010\300\004'
{ printf '\000\000'"$searches"; printf 'name,artist,title\r\n"01 intro.mp3",Ann,"Intro, part 1"\r\n02 song.mp3,Bob,Song\r\n"03 ""quoted"".mp3",Cy,\r\n'; } |
  seed textfile csv-crlf
{ printf '\001\301'"$searches"; printf '\377\376'; printf 'a\tb\tc\nphoto.jpg\tx\ty\ncat.png\tz\t\n' | iconv -f UTF-8 -t UTF-16LE; } |
  seed textfile tab-utf16-skip1
{ printf '\002\102'"$searches"; printf 'first;line\rsecond;line \351t\351\rthird;\r'; } |
  seed textfile semicolon-cp1252-cr
{ printf '\003\200'"$searches"; printf '\357\273\277one|two\n\nthree|four|five\nx\n'; } |
  seed textfile pipe-utf8-mark

# --- matchers: flags, then pattern, search string and replacement between NULs.
printf '\000*.jpg\000photo.2013.jpg\000x' | seed wildcards star-extension
printf '\002a?c*\000abcabc ABC xyz\000-' | seed wildcards replace-all
printf '\001*.\000README\000' | seed wildcards filemode-extensionless
printf '\001*.*\000any.name\000' | seed wildcards filemode-always
printf '\002*aab\000xaaab aab\000[]' | seed wildcards no-backtracking
printf '\002(\\d+)\000track 12 of 34\000#$1#' | seed regexp group
printf '\002x*\000abc\000-' | seed regexp empty-matches
printf '\000(?i)^(a+)+$\000aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!\000' | seed regexp backtracking
printf '\002(a)|(b)\000ab\000${2}$&\\$0' | seed regexp unset-group
printf '\006.\000\000\000a\000\000\330b\000\000\000\000\334-\000' | seed regexp utf16-surrogates

# --- meta variables: switches, extension, two reserved characters and their
# stand-ins, counter start and step, clock, packed modified and created dates,
# list positions; then text, caption, date column, size, "?temp?", "?text1?",
# "?text2?", environment name and value, tag value, file content.
header() {  # FLAGS EXTENSION
  printf "$1$2"'\005\007#!\001\000\001\000\000\000\200\016\103\241\110\016\103\241\110\041'
}
{ header '\003' '\000'; printf '?cds:Fyyyy?-?n02? ?cfo:L_12? ?zn:D2? ?ds:CP21Fyyyy-mm-dd?\000photo.2013\0002013-08-14 09:05:03\0001,234,567\000'; } |
  seed metavariables dates-and-counter
{ header '\001' '\000'; printf '?n00:H4?|?n00:T1?|?cfo:S2.4?|?cfo:R.9?|?x_dto:Fyyyy?|?xmp_dc_title?|?j_w?\000img\000\0001\000'; } |
  seed metavariables formats-jpeg
{ header '\003' '\001'; printf '?i_ar? - ?i_tr? ?m_br:C?\000song\000\000\000\000\000\000\000\000Artist: ?i_ar?\000'; } |
  seed metavariables mp3-value-with-variable
{ header '\007' '\002'; printf '%%HOME%%/?v_len? ?temp??text1??text2? ?fcp_1.4? ?fcu?\000clip\000\000\000?temp?\000a,b\000?text1?\000HOME\000/home/ann\000123\000RIFF....AVI '; } |
  seed metavariables env-temp-text-content
{ header '\220' '\003'; printf '?dmo? ?dc? ?cdl:CM41Fdddd? ?pf?/?cf? ?c?/?sc?/?fc?\000notes\000\0009\000'; } |
  seed metavariables far-clock
