#!/bin/sh
# Writes each example's golden report anew from the program as it is built,
# then shows what moved for review. Nothing is committed: read the diff,
# check every moved number by its physics, and commit with the old -> new
# table in the message.
#   tools/rebless-golden.sh [path/to/vexamo]      (default: build/vexamo)
set -e
vexamo="${1:-build/vexamo}"
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for json in examples/*.json; do
  name=$(basename "$json" .json)
  set -- run "$json" --quiet --record "$tmp/$name.record.json"
  [ -f "examples/answers/$name.json" ] && set -- "$@" --answers "examples/answers/$name.json"
  status=0
  "$vexamo" "$@" > "$tmp/$name.txt" || status=$?
  { echo "exit $status"; cat "$tmp/$name.txt"; } > "examples/golden/$name.txt"
done
git --no-pager diff --stat -- examples/golden
git --no-pager diff -- examples/golden
