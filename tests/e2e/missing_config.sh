#!/usr/bin/env bash
# Without Config.ini the program says so in an error box and ends once the
# box is closed; nothing but the key bindings reaches the store.
source "$(dirname "$0")/lib.sh" "$1"
start_x
make_tree
rm "$TREE/Config.ini"
start_game
box=$(wait_window "^Error$")
shot
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_exit "the program did not end after the missing Config.ini" 100
xdotool search --onlyvisible --name "^About this game...$" >/dev/null 2>&1 && fail "a window survived"
[ -z "$(setting SoundMode)" ] || fail "SoundMode was written"
echo_pass
