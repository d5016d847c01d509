#!/usr/bin/env bash
# The splash and the key dialog ask for a title bar with the close button
# only: no minimise, no maximise. Where a window manager offers minimise
# anyway (openbox), a minimised dialog comes straight back, so the player is
# never left without a window. The splash's close ends the program as its
# Esc does; the key dialog's close leaves it as its Esc does.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree

# The Motif functions a window asks for: 8 minimise, 16 maximise, 32 close.
motif_functions() { xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.*= *[^,]*, *\([^,]*\),.*/\1/p'; }
expect_close_only() {
  local f
  f=$(($(motif_functions "$1")))
  [ $((f & 32)) -ne 0 ] || fail "$2 asks for no close button (functions $f)"
  [ $((f & 24)) -eq 0 ] || fail "$2 asks for minimise or maximise (functions $f)"
  if [ -n "$MK_WM" ]; then
    local allowed
    allowed=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
    echo "$MK_WM allows on $2: ${allowed#*= }"
    case "$allowed" in *MAXIMIZE*) fail "$MK_WM offers maximise on $2" ;; esac
    [ "$MK_WM" = openbox ] || case "$allowed" in *MINIMIZE*) fail "$MK_WM offers minimise on $2" ;; esac
  fi
}
# Minimises a window as the title bar's button would; it must come back.
expect_restored_after_minimise() {
  xdotool windowminimize "$1"
  sleep 0.3
  poll 5 is_mapped "$1" || fail "$2 stays minimised"
  wait_focus "$1" "$2, back from being minimised,"
}

# ---- the splash ---------------------------------------------------------
write_settings SoundMode=2 SplashScreen=1
launch_game
SPLASH=$(wait_window "^$(regex "$SPLASH_TITLE")$")
wait_focus "$SPLASH" "the splash"
expect_close_only "$SPLASH" "the splash"
if [ -n "$MK_WM" ]; then
  expect_restored_after_minimise "$SPLASH" "the splash"
  before=$(cat "$SETTINGS")
  wmctrl -ic "$SPLASH"
  expect_clean_exit "the splash's close button"
  [ "$(cat "$SETTINGS")" = "$before" ] || fail "closing the splash wrote settings"
else
  xdotool key Escape
  expect_clean_exit "Esc in the splash"
fi

# ---- the key dialog -------------------------------------------------------
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
open_popup 640 200
choose 6   # "Key settings"
KEYS=$(wait_window "^Key settings$")
wait_focus "$KEYS" "the key dialog"
expect_close_only "$KEYS" "the key dialog"
if [ -n "$MK_WM" ]; then
  expect_restored_after_minimise "$KEYS" "the key dialog"
  xdotool key 9   # TIME on 9 in the list: the close must not store it
  wmctrl -ic "$KEYS"
  poll 5 is_unmapped "$KEYS" || fail "the key dialog's close button did not close it"
  expect_setting Key1 2
  # The handheld is enabled again: ACL with the mouse darkens it.
  LCD="327x236+$((FS_X + 142))+$((FS_Y + 28))"
  grab before_acl "$LCD"
  xdotool mousemove "$((FS_X + 569))" "$((FS_Y + 62))" mousedown 1
  poll 5 grab_differs before_acl "$LCD" || { xdotool mouseup 1; fail "the handheld stays disabled after the key dialog's close"; }
  xdotool mouseup 1
else
  xdotool key Escape
  poll 5 is_unmapped "$KEYS" || fail "Esc did not close the key dialog"
fi
exit_with_escape
echo_pass
