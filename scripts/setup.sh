#!/bin/sh
# Installs the Debian packages the project needs; skips those already there.
set -eu
# exfat-fuse and exfatprogs: the tests of moves on a FUSE volume without
# RENAME_NOREPLACE or hard links (skipped where they cannot mount one).
# desktop-file-utils and appstream: the checks of the installed desktop files.
packages="cmake ninja-build g++ pkg-config libpcre2-dev libicu-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev python3 qt6-base-dev clang libclang-rt-dev
  exfat-fuse exfatprogs dosfstools e2fsprogs desktop-file-utils appstream"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq $missing
fi
