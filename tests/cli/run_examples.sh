#!/bin/sh
# Every example runs headless with its answers and --record.
#   golden: its report and exit status must equal the reviewed golden report
#           (first line "exit N").
#   replay: the record given back as --answers must give the same exit status
#           and report byte for byte, and record itself again.
vexamo="$1"
examples="$2"
mode="${3:-golden}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
count=0
for json in "$examples"/*.json; do
  name=$(basename "$json" .json)
  golden="$examples/golden/$name.txt"
  answers="$examples/answers/$name.json"
  if [ "$mode" = golden ] && [ ! -f "$golden" ]; then
    echo "missing $golden"; failed=1; continue
  fi
  set -- run "$json" --quiet --record "$tmp/$name.record.json"
  [ -f "$answers" ] && set -- "$@" --answers "$answers"
  "$vexamo" "$@" > "$tmp/$name.first.txt"
  first=$?
  if [ "$mode" = golden ]; then
    { echo "exit $first"; cat "$tmp/$name.first.txt"; } > "$tmp/$name.txt"
    if ! cmp -s "$tmp/$name.txt" "$golden"; then
      echo "example $name differs from its golden report:"
      diff "$golden" "$tmp/$name.txt" | head -20
      failed=1
    fi
  else
    "$vexamo" run "$json" --quiet --answers "$tmp/$name.record.json" \
      --record "$tmp/$name.record2.json" > "$tmp/$name.replay.txt"
    replay=$?
    if [ "$first" -ne "$replay" ]; then
      echo "example $name: exit $first, replayed from its record exit $replay"
      failed=1
    elif ! cmp -s "$tmp/$name.first.txt" "$tmp/$name.replay.txt"; then
      echo "example $name: the replayed report differs:"
      diff "$tmp/$name.first.txt" "$tmp/$name.replay.txt" | head -20
      failed=1
    elif ! cmp -s "$tmp/$name.record.json" "$tmp/$name.record2.json"; then
      echo "example $name: the replay records other answers:"
      diff "$tmp/$name.record.json" "$tmp/$name.record2.json" | head -20
      failed=1
    fi
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no examples"; exit 1; }
if [ "$failed" -eq 0 ]; then
  [ "$mode" = golden ] && echo "$count examples match their golden reports"
  [ "$mode" = replay ] && echo "$count examples replay from their records"
fi
exit $failed
