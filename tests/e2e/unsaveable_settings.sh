#!/usr/bin/env bash
# Settings that cannot be saved (here the settings folder's place is taken by
# a file, which stops root as well as anyone): the player is told once, in a
# message box, and the game goes on with the values of the run.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
mkdir -p "$XDG_CONFIG_HOME"
echo "not a folder" >"$XDG_CONFIG_HOME/Tamarisk"

launch_game
BOX=$(wait_window "^Error$")
wait_focus "$BOX" "the message about the settings"
xdotool key Return
poll 5 is_unmapped "$BOX" || fail "the message box does not close"

SPLASH=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$SPLASH" "the splash after the message"
xdotool key Down Down Down
sleep 0.2
xdotool key Return   # Play with "(no sound)": more values that cannot be saved
wait_main
sleep 1
window_shown "Error" && fail "the player is told a second time"
xdotool key F12      # and one more
poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "F12 did not switch to the window"
sleep 0.5
window_shown "Error" && fail "the player is told again after F12"
[ "$(cat "$XDG_CONFIG_HOME/Tamarisk")" = "not a folder" ] || fail "the file in the settings folder's place was changed"
xdotool mousemove "$((FS_X + 300))" "$((FS_Y + 300))"
exit_with_escape
echo_pass
