#!/usr/bin/env bash
# F12 and the in-game row "Display in fullscreen mode" switch between the
# full-screen window and the windowed handheld, centred each time, stored at
# once, and never leave a row of an open in-game menu behind: not on the
# windowed handheld, and not when full screen comes back (the menu button is
# closed again).
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
FULL="0 0 $SCREEN_W $SCREEN_H"
WINDOWED="$FS_X $FS_Y 611 322"
geometry_is "$MAIN" "$FULL" || fail "full screen window at $(window_geometry "$MAIN")"
crop start full "${SCREEN_W}x${SCREEN_H}+0+0"
crop full closed_menu 256x448+0+0
HANDHELD="611x322+$FS_X+$FS_Y"

open_game_menu() {
  xdotool mousemove 18 16 click 1
  poll 5 grab_differs closed_menu 256x448+0+0 || fail "the menu button did not open the in-game menu"
  grab_settled open_menu 256x448+0+0
}
# Keys go to the main window: the pointer stays over it in both presentations.
press_f12() {
  xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H / 2))"
  xdotool key F12
}

# Open menu, F12: the windowed handheld.
open_game_menu
press_f12
poll 5 geometry_is "$MAIN" "$WINDOWED" || fail "after F12 the window is at $(window_geometry "$MAIN"), expected $WINDOWED"
poll 5 prints 0 setting FullscreenMode || fail "FullscreenMode is '$(setting FullscreenMode)' after switching to a window"
grab_settled windowed_after_open_menu "$HANDHELD"
[ "$(pixel windowed_after_open_menu 1 1)" = "srgb(0,255,0)" ] || fail "the windowed handheld's corner is not see-through"

# F12 back: full screen with the menu closed, the picture as at the start.
press_f12
poll 5 geometry_is "$MAIN" "$FULL" || fail "after the second F12 the window is at $(window_geometry "$MAIN")"
poll 5 prints 1 setting FullscreenMode || fail "FullscreenMode is '$(setting FullscreenMode)' back in full screen"
poll 5 grab_same closed_menu 256x448+0+0 || fail "back in full screen the in-game menu is still open ($(differing closed_menu now) pixels differ)"
poll 5 grab_same full "${SCREEN_W}x${SCREEN_H}+0+0" || fail "the full screen differs from the first one by $(differing full now) pixels"

# With the menu closed, the windowed handheld looks the same: so no row was
# left on it before.
press_f12
poll 5 geometry_is "$MAIN" "$WINDOWED" || fail "the third F12 gave $(window_geometry "$MAIN")"
grab_settled windowed_clean "$HANDHELD"
same windowed_clean windowed_after_open_menu ||
  fail "rows of the in-game menu remain on the windowed handheld ($(differing windowed_clean windowed_after_open_menu) pixels differ)"

# The in-game row does the same as F12 and also leaves no row behind.
press_f12
poll 5 geometry_is "$MAIN" "$FULL" || fail "the fourth F12 gave $(window_geometry "$MAIN")"
poll 5 grab_same closed_menu 256x448+0+0 || fail "the in-game menu is not closed in full screen"
open_game_menu
xdotool mousemove 120 336 click 1   # row 10, "Display in fullscreen mode [V]"
poll 5 geometry_is "$MAIN" "$WINDOWED" || fail "the in-game row gave $(window_geometry "$MAIN")"
poll 5 prints 0 setting FullscreenMode || fail "FullscreenMode is '$(setting FullscreenMode)' after the in-game row"
grab_settled windowed_by_row "$HANDHELD"
same windowed_clean windowed_by_row ||
  fail "rows of the in-game menu remain after its own switch ($(differing windowed_clean windowed_by_row) pixels differ)"

press_f12
poll 5 geometry_is "$MAIN" "$FULL" || fail "the last F12 gave $(window_geometry "$MAIN")"
poll 5 grab_same closed_menu 256x448+0+0 || fail "the in-game menu is open again after switching back"
expect_setting FullscreenMode 1
exit_with_escape
echo_pass
