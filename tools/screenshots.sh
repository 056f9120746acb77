#!/bin/sh
# Pictures of the desktop program for docs/screenshots/: in English and in
# Russian, the main window after a Run of examples/water-water-2pass (the
# report scrolled to its engineering summary), the technological data form
# with the chemicals beside the system names, the temperature graph and
# About with the built-in substances. Needs vexamo-desktop beside vexamo; no
# display needed.
#
#   tools/screenshots.sh [path/to/vexamo]      (default: build/vexamo)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
vexamo=${1:-$top/build/vexamo}
cd "$top"
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8 "$vexamo" --screenshots docs/screenshots
