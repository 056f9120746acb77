#!/bin/sh
# Installs the Debian 12 packages Vexamo builds with (as root or through sudo).
# clang and libclang-rt-14-dev (the libFuzzer runtime) serve the fuzz targets;
# clang-format keeps the tree formatted (tools/format.sh).
set -e
PACKAGES="g++ cmake make pkg-config libfmt-dev nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev qt6-translations-l10n fonts-dejavu-core fonts-noto-mono poppler-utils clang clang-format libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends $missing
