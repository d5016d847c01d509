#!/usr/bin/env bash
# Nothing of the handheld's window shows before Play: while the splash asks
# for a sound output, the screen outside the splash is the bare desktop, and
# the main window is not mapped at all. Play brings it in one step, at its
# place and size, with the keyboard: keys work with the pointer away from
# it, also after F12. A start that skips the splash shows the window the
# same way.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree

main_mapped() { xdotool search --onlyvisible --name "^$(regex "$TITLE")$" >/dev/null 2>&1; }

# Records the main window's geometry from the moment it is first mapped,
# every few milliseconds, into $WORK/seen, until it is killed.
watch_main() {
  (
    while true; do
      id=$(xdotool search --onlyvisible --name "^$(regex "$TITLE")$" 2>/dev/null | head -1 || true)
      [ -n "$id" ] && window_geometry "$id" >>"$WORK/seen" 2>/dev/null
      sleep 0.01
    done
  ) &
  WATCH_PID=$!
}
stop_watch() { kill "$WATCH_PID" 2>/dev/null || true; wait "$WATCH_PID" 2>/dev/null || true; }
# Every geometry seen was the final one: no wrong place or size ever showed.
expect_one_step() {
  local wrong
  wrong=$(grep -v -x -F "$1" "$WORK/seen" | sort -u | head -3 | tr '\n' ';' || true)
  [ -s "$WORK/seen" ] || fail "the main window was never seen on screen $2"
  [ -z "$wrong" ] || fail "the main window showed at $wrong before $1 $2"
}

# ---- the splash first, on an empty store: full screen after Play --------
launch_game
SPLASH=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$SPLASH" "the splash"
grab_settled splash_time "${SCREEN_W}x${SCREEN_H}+0+0"
main_mapped && fail "the main window is on screen while the splash is"
read -r sx sy sw sh <<<"$(frame_geometry "$SPLASH")"
# Everything around the splash is the desktop's green: nothing of the
# handheld, not even a corner, shows anywhere.
outside=$(convert "$WORK/splash_time.png" -fill "$GREEN" -draw "rectangle $sx,$sy $((sx + sw - 1)),$((sy + sh - 1))" \
  -fx "(r==0&&g==1&&b==0)?0:1" -format '%[fx:round(mean*w*h)]' info:)
[ "$outside" = 0 ] || fail "$outside pixels besides the splash are not the desktop before Play"

: >"$WORK/seen"
watch_main
xdotool key Down Down Down Return   # "(no sound)", Play
poll 5 main_mapped || fail "Play did not bring the main window"
sleep 0.5
stop_watch
expect_one_step "0 0 $SCREEN_W $SCREEN_H" "in full screen"
wait_main
exit_with_escape

# ---- windowed, the splash shown: keys work with the pointer away ---------
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=1
launch_game
SPLASH=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$SPLASH" "the splash"
: >"$WORK/seen"
watch_main
xdotool key Return
poll 5 main_mapped || fail "Play did not bring the windowed handheld"
sleep 0.5
stop_watch
expect_one_step "$FS_X $FS_Y 611 322" "windowed"
wait_main
wait_focus "$MAIN" "the handheld after Play"
LCD="327x60+$((FS_X + 142))+$((FS_Y + 30))"
grab lit "$LCD"
xdotool mousemove 5 5   # far from the window
xdotool key 1           # TIME: the clock
poll 5 grab_differs lit "$LCD" || fail "the 1 key did nothing after Play with the pointer away from the window"
grab clock "$LCD"

# F12 twice, the pointer still away: the window comes back with the keyboard.
xdotool key F12
poll 5 geometry_is "$MAIN" "0 0 $SCREEN_W $SCREEN_H" || fail "F12 did not switch to full screen"
xdotool mousemove 5 5
xdotool key F12
poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "F12 did not switch back to the window"
xdotool mousemove 5 5
wait_focus "$MAIN" "the handheld after F12"
xdotool key 5           # ACL: everything dark
poll 5 grab_differs clock "$LCD" || fail "the 5 key did nothing after F12 with the pointer away from the window"
xdotool mousemove "$((FS_X + 300))" "$((FS_Y + 300))"
exit_with_escape

# ---- the splash skipped: the window appears at once where it belongs -----
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
: >"$WORK/seen"
watch_main
launch_game
poll 5 main_mapped || fail "the main window did not come without the splash"
sleep 0.5
stop_watch
expect_one_step "$FS_X $FS_Y 611 322" "with the splash skipped"
wait_main
wait_focus "$MAIN" "the handheld started without the splash"
xdotool mousemove "$((FS_X + 300))" "$((FS_Y + 300))"
exit_with_escape
echo_pass
