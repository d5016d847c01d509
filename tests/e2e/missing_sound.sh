#!/usr/bin/env bash
# With a sound output chosen and no Sound folder, Play reports the folder,
# stores "SoundMode" = -1 and "SplashScreen" = 1, and the program ends; the
# next start asks again.
source "$(dirname "$0")/lib.sh" "$1"
start_x
make_tree
rm "$TREE/Sound"
write_settings SplashScreen=0
start_game
wait_window "^About this game...$" >/dev/null
sleep 0.5
xdotool key Down      # "Microsoft DirectSound"
sleep 0.2
xdotool key Return
box=$(wait_window "^Error$")
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_exit "the program did not end after the missing sound folder" 100
expect_setting SoundMode -1
expect_setting SplashScreen 1

start_game
wait_window "^About this game...$" >/dev/null
echo_pass
