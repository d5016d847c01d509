#!/usr/bin/env bash
# First start on an empty store: the splash asks for a sound output, the
# store holds exactly the four key bindings, "(no sound)" and Enter bring the
# handheld up full screen, and Esc ends the program.
source "$(dirname "$0")/lib.sh" "$1"
start_x
make_tree
start_game
splash=$(wait_window "^About this game...$")
sleep 0.5
[ "$(setting_names)" = "Key1 Key2 Key3 Key4 " ] || fail "store after start-up holds: $(setting_names)"
expect_setting Key1 2
expect_setting Key2 6
expect_setting Key3 39
expect_setting Key4 40

xdotool key Return
sleep 0.3
xdotool search --onlyvisible --name "^About this game...$" >/dev/null || fail "Enter played with no sound output chosen"

# Focus is on the list: three steps down reach "(no sound)".
xdotool key Down Down Down
sleep 0.2
xdotool key Return
sleep 1
xdotool search --onlyvisible --name "^About this game...$" >/dev/null && fail "the splash is still shown after Play"
expect_setting SoundMode 2
expect_setting SplashScreen 1
[ -z "$(setting FullscreenMode)" ] || fail "FullscreenMode is written only by the switch"

main=$(wait_window "^Marsh Keeper \(Vexora, Slimline\) Simulator$")
read -r x y w h <<<"$(window_geometry "$main")"
[ "$x $y $w $h" = "0 0 $SCREEN_W $SCREEN_H" ] || fail "full screen window at $x $y $w $h"
shot
[ "$(pixel 5 700)" != "srgb(0,255,0)" ] || fail "the desktop shows through the full-screen window"

xdotool key Escape
wait_exit "Esc did not end the program"
expect_setting SoundMode 2
echo_pass
