#!/usr/bin/env bash
# With a sound output chosen and no Sound folder, Play reports the folder,
# stores "SoundMode" = -1 and "SplashScreen" = 1, and the program ends; the
# next start asks again.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
rm "$TREE/Sound"
write_settings SplashScreen=0
launch_game
splash=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$splash" "the splash"
SPLASH_BOX=$(window_box "$splash")
grab_settled splash "$SPLASH_BOX"
xdotool key Down      # "Desktop sound server"
poll 5 grab_differs splash "$SPLASH_BOX" || fail "Down did not choose a sound output"
xdotool key Return
box=$(wait_window "^Error$")
wait_focus "$box" "the error box"
xdotool key Return
wait_exit "the missing sound folder was reported"
expect_setting SoundMode -1
expect_setting SplashScreen 1

launch_game
wait_window "^$(regex "$SPLASH_TITLE")$" >/dev/null
echo_pass
