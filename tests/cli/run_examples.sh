#!/bin/sh
# Every example runs headless with its answers; its report and exit status
# must equal the reviewed golden report (first line "exit N").
vexamo="$1"
examples="$2"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
count=0
for json in "$examples"/*.json; do
  name=$(basename "$json" .json)
  golden="$examples/golden/$name.txt"
  answers="$examples/answers/$name.json"
  [ -f "$golden" ] || { echo "missing $golden"; failed=1; continue; }
  set -- run "$json" --quiet
  [ -f "$answers" ] && set -- "$@" --answers "$answers"
  "$vexamo" "$@" > "$tmp/report.txt"
  status=$?
  { echo "exit $status"; cat "$tmp/report.txt"; } > "$tmp/$name.txt"
  if ! cmp -s "$tmp/$name.txt" "$golden"; then
    echo "example $name differs from its golden report:"
    diff "$golden" "$tmp/$name.txt" | head -20
    failed=1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no examples"; exit 1; }
[ "$failed" -eq 0 ] && echo "$count examples match their golden reports"
exit $failed
