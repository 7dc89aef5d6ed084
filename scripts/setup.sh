#!/bin/sh
# Installs the Debian packages the project needs; skips those already there.
set -eu
packages="cmake ninja-build g++ pkg-config libpcre2-dev libicu-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev python3 dosfstools e2fsprogs"
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
