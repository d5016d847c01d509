#!/usr/bin/env bash
# A right click anywhere on the handheld's window opens the popup menu at the
# pointer: ten commands and three separator lines in their groups (about and
# documents | configuration, keys, high scores | presentation and splash |
# exit). Esc closes it without ending the program, opening it closes the
# in-game menu, its splash item stores the new choice and the next opening
# shows it checked, and its Exit item ends the program cleanly.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
crop start full "${SCREEN_W}x${SCREEN_H}+0+0"

# The check box left of the n-th command of menu.png.
check_box() {
  local y
  y=$(menu_text_row menu "$1")
  crop menu "$2" "26x15+4+$((y - 7))"
}

open_popup 400 300
shape=$(menu_shape menu)
[ "$shape" = "TTTTSTTTSTTST" ] ||
  fail "popup rows read '$shape' (T: a command, S: a separator), expected TTTTSTTTSTTST"
# Stored off: the splash item is unchecked, the presentation item checked.
check_box 8 fullscreen_checked
check_box 9 splash_before
same fullscreen_checked splash_before && fail "the splash item shows a check mark although the store says 0"

xdotool key Escape
poll 5 is_unmapped "$POPUP" || fail "Esc did not close the popup menu"
sleep 0.3
expect_alive "Esc in the popup menu ended the program"

# With the in-game menu open, opening the popup closes it.
xdotool mousemove 18 16 click 1
crop full full_menu 256x448+0+0
poll 5 grab_differs full_menu 256x448+0+0 || fail "the menu button did not open the in-game menu"
open_popup 700 500
poll 5 grab_same full_menu 256x448+0+0 || fail "opening the popup menu left the in-game menu open"

# The splash item: stored at once, shown checked at the next opening.
choose 9
poll 5 prints 1 setting SplashScreen || fail "SplashScreen is '$(setting SplashScreen)' after the splash item"
open_popup 420 320
check_box 9 splash_after
same fullscreen_checked splash_after || fail "the splash item is not checked after it was switched on"
xdotool key Escape
poll 5 is_unmapped "$POPUP" || fail "Esc did not close the popup menu"

# The windowed handheld has the same popup; Exit ends the program.
xdotool mousemove 640 512
xdotool key F12
poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "F12 did not bring the windowed presentation"
open_popup $((FS_X + 300)) $((FS_Y + 290))
shape=$(menu_shape menu)
[ "$shape" = "TTTTSTTTSTTST" ] || fail "popup rows on the windowed handheld read '$shape'"
choose 10
expect_clean_exit "Exit in the popup menu"
echo_pass
