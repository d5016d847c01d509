#!/usr/bin/env bash
# F1 shows the about dialog centred above the full-screen handheld (its dark
# blue shows where the handheld was), Esc hides it and the handheld shows
# again, and F1 shows it again: every time, also after the manual has been
# opened and closed from the keyboard.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
AWAY="640 960"   # over the handheld's window, clear of every dialog
xdotool mousemove $AWAY
crop start full "${SCREEN_W}x${SCREEN_H}+0+0"
W=397; H=176
# Points of the dialog's own background: between the picture and the
# captions, and below the last link.
POINTS="128 100 128 20 390 171"

about_mapped() {
  ABOUT=$(xdotool search --onlyvisible --name "^About the author\.\.\.$" 2>/dev/null | head -1 || true)
  [ -n "$ABOUT" ]
}
# The about dialog is on screen, centred, above the handheld.
expect_about_shown() {
  poll 5 about_mapped || fail "no about dialog on screen $1"
  wait_focus "$ABOUT" "the about dialog $1"
  read -r x y w h <<<"$(window_geometry "$ABOUT")"
  [ "$w $h" = "$W $H" ] || fail "the about dialog is ${w}x${h} $1"
  expect_centred "$ABOUT" "the about dialog ($1)"
  xprop -id "$ABOUT" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the about dialog does not ask to stay above $1"
  poll 5 dark_blue_at_points || fail "the screen shows $(dark_blue_at_points; echo "$SEEN") where the about dialog's dark blue belongs $1"
}
# Whether every background point of the dialog shows its dark blue; SEEN
# keeps what the screen showed.
dark_blue_at_points() {
  shot now
  SEEN=""
  set -- $POINTS
  while [ $# -ge 2 ]; do
    SEEN="$SEEN $(pixel now $((x + $1)) $((y + $2)))"
    shift 2
  done
  [ "$SEEN" = " srgb(8,41,82) srgb(8,41,82) srgb(8,41,82)" ]
}
hide_about() {
  xdotool key Escape
  poll 5 is_unmapped "$ABOUT" || fail "Esc did not hide the about dialog $1"
  sleep 0.3
  expect_alive "Esc in the about dialog $1"
  poll 5 grab_same full "${SCREEN_W}x${SCREEN_H}+0+0" || fail "the handheld does not show again after the about dialog $1"
}

xdotool key F1
expect_about_shown "(first F1)"
hide_about "(first time)"
xdotool key F1
expect_about_shown "(second F1)"
hide_about "(second time)"

# The keyboard goes back and forth between the handheld's window and the
# manual before F1 works twice more.
xdotool key F4
manual=$(wait_window "^Manual$")
wait_focus "$manual" "the manual"
xdotool key Escape
poll 5 is_unmapped "$manual" || fail "Esc did not hide the manual"
sleep 0.3
xdotool key F1
expect_about_shown "(F1 after the manual)"
hide_about "(after the manual)"
xdotool key F1
expect_about_shown "(F1 again after the manual)"
hide_about "(again after the manual)"
exit_with_escape
echo_pass
