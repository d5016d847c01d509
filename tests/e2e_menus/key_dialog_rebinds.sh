#!/usr/bin/env bash
# The key dialog, opened from the popup menu over the full-screen handheld:
# centred on the screen; the handheld takes neither mouse nor keys while it
# is open; a key chosen twice turns both captions red and Enter accepts
# nothing; a free key accepted with Enter is stored as Key1..Key4 and works
# at once (the space bar starts Game B, the old right arrow does nothing);
# the keyboard stays with the dialog while it is open;
# Esc leaves without storing and gives the handheld its input back.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
ACL_X=$((FS_X + 561 + 8)); ACL_Y=$((FS_Y + 54 + 8))
# The upper part of the LCD, clear of the dialog; and the GAME B mark.
LCD="327x45+$((FS_X + 142))+$((FS_Y + 30))"
GAME_B="40x11+$((FS_X + 149))+$((FS_Y + 249))"
grab all_on "$LCD"

open_keys_dialog() {
  open_popup 640 200
  choose 6   # "Key settings"
  KEYS=$(wait_window "^Key settings$")
  read -r kx ky kw kh <<<"$(window_geometry "$KEYS")"
  grab_settled dialog "${kw}x${kh}+${kx}+${ky}"
  wait_focus "$KEYS" "the key dialog"
}
# Holds ACL with the mouse: the LCD must stay as all_on.png while the
# handheld is disabled, and go dark while it is enabled.
hold_acl() {
  local result=0
  xdotool mousemove "$ACL_X" "$ACL_Y" mousedown 1
  if [ "$1" = ignored ]; then
    sleep 0.5
    grab_same all_on "$LCD" || result=1
  else
    poll 5 grab_differs all_on "$LCD" || result=1
  fi
  xdotool mouseup 1
  return $result
}
# Red pixels of the caption beside each list, in binding order (Time, ACL,
# Left, Right).
red_captions() {
  local box out=""
  grab dialog "448x131+$kx+$ky"
  for box in 72x14+136+33 72x14+136+65 72x14+240+33 72x14+240+65; do
    out="$out$(count_where dialog "$box" 'r>0.8&&g<0.3&&b<0.3') "
  done
  echo "${out% }"
}
red_pattern() { red_captions | awk '{ for (i = 1; i <= NF; i++) printf "%s", ($i > 10 ? "R" : "w"); print "" }'; }

open_keys_dialog
read -r kx ky kw kh <<<"$(window_geometry "$KEYS")"
[ "$kw $kh" = "448 131" ] || fail "the key dialog is ${kw}x${kh}"
expect_centred "$KEYS" "the key dialog"
[ "$(red_pattern)" = wwww ] || fail "captions are red before any change: $(red_captions)"

# The handheld is disabled: ACL by mouse and the 5 key change nothing.
hold_acl ignored || fail "ACL pressed with the mouse worked while the key dialog was open"
# Keys never reach the disabled handheld: given the keyboard by hand, its
# window passes them on to the dialog over it, so Esc closes the dialog
# rather than ending the program.
xdotool windowfocus "$MAIN"
sleep 0.3
xdotool key Escape
poll 5 is_unmapped "$KEYS" || fail "Esc on the handheld's window did not close the key dialog over it"
expect_alive "Esc on the handheld's window with the key dialog open"
grab_same all_on "$LCD" || fail "the handheld changed while the key dialog was open"
open_keys_dialog

# RIGHT on the 1 key, which TIME has: "Time" and "Right" turn red, Enter
# stores nothing and leaves the dialog open.
xdotool key Tab Tab Tab
sleep 0.2
xdotool key 1
poll 5 prints RwwR red_pattern || fail "captions after a duplicate key (Time, ACL, Left, Right): $(red_captions)"
xdotool key Return
sleep 0.5
is_mapped "$KEYS" || fail "Enter accepted a duplicate key"
expect_setting Key4 40

# RIGHT on the space bar, the last entry: no red caption, Enter accepts.
xdotool key End
poll 5 prints wwww red_pattern || fail "captions still red after choosing a free key: $(red_captions)"
xdotool key Return
poll 5 is_unmapped "$KEYS" || fail "Enter did not accept a free key"
stored_keys() { echo "$(setting Key1) $(setting Key2) $(setting Key3) $(setting Key4)"; }
poll 5 prints "2 6 39 44" stored_keys ||
  fail "stored keys are $(setting Key1) $(setting Key2) $(setting Key3) $(setting Key4), expected 2 6 39 44"

# The handheld is enabled again and the new key works at once. The dialog
# has given the keyboard back, so keys go to the window under the pointer.
hold_acl works || fail "ACL pressed with the mouse did nothing after the dialog was accepted"
poll 5 grab_same all_on "$LCD" || fail "releasing ACL did not light the handheld again"
xdotool mousemove 640 900
xdotool key 1   # TIME: the clock, where RIGHT starts Game B
poll 5 grab_differs all_on "$LCD" || fail "the 1 key did not bring the clock after the dialog"
sleep 0.3
grab game_b_dark "$GAME_B"
xdotool key Right
sleep 0.8
grab_same game_b_dark "$GAME_B" || fail "the right arrow still starts Game B after RIGHT was moved to the space bar"
xdotool key space
poll 5 grab_differs game_b_dark "$GAME_B" || fail "the space bar did not start Game B: the GAME B mark stays dark"

# Esc leaves without storing: TIME moved to 9 in the list, Key1 stays 2,
# and the handheld takes the mouse again.
open_keys_dialog
xdotool key 9
sleep 0.3
xdotool key Escape
poll 5 is_unmapped "$KEYS" || fail "Esc did not close the key dialog"
sleep 0.3
expect_alive "Esc in the key dialog"
expect_setting Key1 2
WHOLE_LCD="327x236+$((FS_X + 142))+$((FS_Y + 28))"
grab before_acl "$WHOLE_LCD"
xdotool mousemove "$ACL_X" "$ACL_Y" mousedown 1
poll 5 grab_differs before_acl "$WHOLE_LCD" || { xdotool mouseup 1; fail "the handheld stays disabled after Esc in the key dialog"; }
xdotool mouseup 1
exit_with_escape
echo_pass
