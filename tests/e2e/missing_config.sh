#!/usr/bin/env bash
# Without Config.ini the program says so in an error box and ends once the
# box is closed; nothing but the key bindings reaches the store.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
rm "$TREE/Config.ini"
launch_game
box=$(wait_window "^Error$")
wait_focus "$box" "the error box"
xdotool key Return
wait_exit "the missing Config.ini was reported"
window_shown "$SPLASH_TITLE" && fail "a window survived"
[ -z "$(setting SoundMode)" ] || fail "SoundMode was written"
echo_pass
