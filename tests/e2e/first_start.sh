#!/usr/bin/env bash
# First start on an empty store: the splash asks for a sound output, the
# store holds exactly the four key bindings, "(no sound)" and Enter bring the
# handheld up full screen, and Esc ends the program.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
launch_game
splash=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$splash" "the splash"
SPLASH_BOX=$(window_box "$splash")
grab_settled splash "$SPLASH_BOX"
[ "$(setting_names)" = "Key1 Key2 Key3 Key4 " ] || fail "store after start-up holds: $(setting_names)"
expect_setting Key1 2
expect_setting Key2 6
expect_setting Key3 39
expect_setting Key4 40

# Enter with no output chosen does nothing. The Down after it moves the
# list's choice: once that shows, the Enter before it has been dealt with.
xdotool key Return Down
poll 5 grab_differs splash "$SPLASH_BOX" || fail "the splash did not change after Enter and Down"
window_shown "$SPLASH_TITLE" || fail "Enter played with no sound output chosen"

# Focus is on the list: three steps down reach "(no sound)".
grab_settled first_choice "$SPLASH_BOX"
xdotool key Down Down
poll 5 grab_differs first_choice "$SPLASH_BOX" || fail "Down did not move the list's choice"
xdotool key Return
poll 5 is_unmapped "$splash" || fail "the splash is still shown after Play"
poll 5 prints 2 setting SoundMode || fail "SoundMode is '$(setting SoundMode)' after Play with (no sound)"
expect_setting SplashScreen 1

wait_main
[ -z "$(setting FullscreenMode)" ] || fail "FullscreenMode is written only by the switch"
geometry_is "$MAIN" "0 0 $SCREEN_W $SCREEN_H" || fail "full screen window at $(window_geometry "$MAIN")"
[ "$(pixel start 5 700)" != "$GREEN" ] || fail "the desktop shows through the full-screen window"

# Esc ends the program: the main window has the keyboard, the pointer is over it.
exit_with_escape
expect_setting SoundMode 2
[ -z "$(setting FullscreenMode)" ] || fail "FullscreenMode was written on the way out"
echo_pass
