#!/usr/bin/env bash
# The manual and the about dialog stay above the main window, full screen
# or windowed, when the player clicks the game: the dialog is still on top
# afterwards, Esc closes the dialog and not the program, and the main window
# then has the keyboard again.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
LCD="327x60+$((FS_X + 142))+$((FS_Y + 30))"

# Opens a dialog with its key and waits for it; leaves its id in DIALOG and
# its picture in dialog.png.
open_dialog() {
  xdotool mousemove 640 980
  xdotool key "$1"
  DIALOG=$(wait_window "^$(regex "$2")$")
  wait_focus "$DIALOG" "$2"
  grab_settled dialog "$(window_box "$DIALOG")"
}
# Clicks the game at a point clear of the dialog; the dialog must stay on
# top, unchanged, and keep the keyboard's keys for itself.
click_game_and_close() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.5
  grab_same dialog "$(window_box "$DIALOG")" ||
    fail "$3 no longer shows on top after a click on the game ($(differing dialog now) pixels differ)"
  xdotool key Escape
  poll 5 is_unmapped "$DIALOG" || fail "Esc after a click on the game did not close $3"
  sleep 0.3
  expect_alive "Esc closing $3"
}

# Full screen: the backdrop, far from both dialogs.
open_dialog F4 "Manual"
click_game_and_close 100 900 "the manual"
open_dialog F1 "About the author..."
click_game_and_close 100 900 "the about dialog"
wait_focus "$MAIN" "the main window, once the dialogs are closed,"
grab lit "$LCD"
xdotool key 1   # TIME, to the main window again
poll 5 grab_differs lit "$LCD" || fail "the main window does not take the keyboard back once the dialogs are closed"
xdotool key 5   # ACL
xdotool key F12
poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "F12 did not bring the windowed handheld"

# Windowed: the face's top-left corner, outside the about dialog (the
# manual covers the whole handheld, so only the about dialog is tried).
open_dialog F1 "About the author..."
click_game_and_close "$((FS_X + 20))" "$((FS_Y + 20))" "the about dialog over the windowed handheld"
xdotool mousemove "$((FS_X + 300))" "$((FS_Y + 300))"
exit_with_escape
echo_pass
