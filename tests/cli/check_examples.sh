#!/bin/sh
# Every example converts to the .dat committed beside it, and the .dat goes
# through JSON and back to the same bytes.
set -e
vexamo="$1"
examples="$2"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
count=0
for json in "$examples"/*.json; do
  name=$(basename "$json" .json)
  dat="$examples/$name.dat"
  [ -f "$dat" ] || { echo "missing $dat"; exit 1; }
  "$vexamo" convert "$json" "$tmp/$name.dat"
  cmp "$tmp/$name.dat" "$dat"
  "$vexamo" convert "$dat" "$tmp/$name.json"
  "$vexamo" convert "$tmp/$name.json" "$tmp/$name.back.dat"
  cmp "$tmp/$name.back.dat" "$dat"
  "$vexamo" show "$dat" >/dev/null
  "$vexamo" show --lang ru "$json" >/dev/null
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no examples"; exit 1; }
echo "$count examples checked"
