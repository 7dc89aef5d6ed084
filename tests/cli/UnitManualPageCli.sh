#!/bin/sh
# The manual page tallowick(1) ($2) describes the program ($1) as it is:
# every option of --help is on the page, and the examples run as written
# from a copy of the source's examples folder ($3).
set -u
exe=$1
page=$2
examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for option in $("$exe" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  escaped=$(printf '%s' "$option" | sed 's/-/\\-/g')
  grep -qF -- "$escaped" "$page" || {
    echo "FAIL: $option is in --help but not on the manual page" >&2
    failures=$((failures + 1)); }
done
mkdir -p "$work/bin" "$work/home"
ln -s "$exe" "$work/bin/tallowick"
cp -R "$examples" "$work/examples"
sed -n '/^\.SH EXAMPLES/,/^\.SH/p' "$page" | sed -n '/^\.nf/,/^\.fi/p' | sed '1d;$d' |
  sed 's/\\-/-/g' > "$work/examples.sh"
(cd "$work" && PATH="$work/bin:$PATH" TALLOWICK_HOME="$work/home" sh -e examples.sh \
  > "$work/out" 2>&1) || {
  echo "FAIL: the examples of the manual page do not run:" >&2
  cat "$work/out" >&2
  failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "the manual page matches the program"
exit "$failures"
