#!/bin/sh
# Installs the Debian 12 packages Vexamo builds with (as root or through sudo).
set -e
PACKAGES="g++ cmake make pkg-config libfmt-dev nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core poppler-utils"
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
