#!/bin/sh
# Installs the build into a temporary prefix and checks that every file the
# desktop needs is in place and passes the desktop's own validators (each run
# where it is installed).
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
id=io.github.tallowick.Tallowick
for file in bin/tallowick share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
    share/man/man1/tallowick.1 share/man/man5/tallowick-script.5 \
    share/bash-completion/completions/tallowick share/zsh/site-functions/_tallowick; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop"
else
  echo "desktop-file-validate is not installed: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
else
  echo "appstreamcli is not installed: the metainfo is not validated"
fi
echo "install ok"
