#!/usr/bin/env bash
# The simulator composes the default skin as a user would see it: Config.ini
# beside the program, picture folders in the current directory. Its snapshots
# of the all-segments display and of a Game B moment must match the pictures
# in docs/ (shown in the README) within a small tolerance.
set -euo pipefail
sim=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
cp "$sim" "$work/bin/marsh-keeper-sim"
cp "$src/data/Config.ini" "$work/bin/"
cd "$src/data"
"$work/bin/marsh-keeper-sim" --until 10 --quiet --snapshot "$work/all-segments.png" >/dev/null
"$work/bin/marsh-keeper-sim" --seed 3 --autoplay --until 90420 --quiet \
  --snapshot "$work/game-b.png" "$src/tests/snapshot/game-b.script" >/dev/null
status=0
for name in all-segments game-b; do
  # Pixels differing by more than 3% in colour; at most 50 of the 196,742 may.
  differing=$(compare -metric AE -fuzz 3% "$work/$name.png" "$src/docs/$name.png" null: 2>&1 || true)
  if ! [[ "$differing" =~ ^[0-9]+$ ]] || [ "$differing" -gt 50 ]; then
    echo "$name: snapshot differs from docs/$name.png ($differing pixels)"
    status=1
  else
    echo "$name: matches docs/$name.png ($differing pixels differ)"
  fi
done
exit $status
