#!/usr/bin/env bash
# The windowed handheld: centred, see-through around its outline, dragged by
# its face and by the ALARM button, worked by mouse and keys.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game
window_shown "$SPLASH_TITLE" && fail "the splash shows although it is switched off"
read -r x y w h <<<"$(window_geometry "$MAIN")"
read -r _ _ gw gh <<<"$(slot_box 1)"
[ "$w $h" = "$gw $gh" ] || fail "window is ${w}x${h}, the skin ${gw}x${gh}"
[ "$x $y" = "$(((SCREEN_W - w) / 2)) $(((SCREEN_H - h) / 2))" ] || fail "window at $x $y is not centred"

# The desktop (green) shows at the face's rounded corners, inside the window.
[ "$(pixel start "$((x + 1))" "$((y + 1))")" = "$GREEN" ] || fail "top-left corner of the window is not see-through"
[ "$(pixel start "$((x + w - 2))" "$((y + h - 2))")" = "$GREEN" ] || fail "bottom-right corner is not see-through"
[ "$(pixel start "$((x + w / 2))" "$((y + h / 2))")" != "$GREEN" ] || fail "the handheld itself is see-through"

# TIME held with the mouse shows the alarm view; the release the clock.
read -r tl tt tw th <<<"$(slot_box 4)"
read -r sl st sw sh <<<"$(slot_box 2)"
screen="${sw}x${sh}+$((x + sl))+$((y + st))"
crop start all_on "$screen"   # start.png is the whole screen
xdotool mousemove "$((x + tl + tw / 2))" "$((y + tt + th / 2))" mousedown 1
poll 5 grab_differs all_on "$screen" || { xdotool mouseup 1; fail "holding TIME did not change the screen"; }
grab_settled alarm "$screen"
xdotool mouseup 1
poll 5 grab_differs alarm "$screen" || fail "releasing TIME did not change the screen"
grab_settled clock "$screen"

# The bound RIGHT key starts Game B from the clock: its GAME B mark lights.
GAME_B="40x11+$((x + 149))+$((y + 249))"
grab game_b_dark "$GAME_B"
xdotool key Right
poll 5 grab_differs game_b_dark "$GAME_B" || fail "the right arrow key did not start Game B: the GAME B mark stays dark"
grab game_b "$screen"
same clock game_b && fail "the right arrow key did not start a game"

# Drag by the face: a point on its left edge, clear of every button.
fx=$((x + 12)); fy=$((y + h / 2))
xdotool mousemove "$fx" "$fy" mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove "$((fx + step * 8))" "$((fy + step * 5))"; sleep 0.05; done
xdotool mouseup 1
poll 5 geometry_is "$MAIN" "$((x + 40)) $((y + 25)) $w $h" ||
  fail "drag by the face moved the window from $x $y to $(window_geometry "$MAIN")"
x2=$((x + 40)); y2=$((y + 25))

# Drag by the ALARM button.
read -r al at aw ah <<<"$(slot_box 7)"
ax=$((x2 + al + aw / 2)); ay=$((y2 + at + ah / 2))
xdotool mousemove "$ax" "$ay" mousedown 1
for step in 1 2 3 4; do xdotool mousemove "$((ax - step * 5))" "$((ay + step * 3))"; sleep 0.05; done
xdotool mouseup 1
poll 5 geometry_is "$MAIN" "$((x2 - 20)) $((y2 + 12)) $w $h" ||
  fail "drag by ALARM moved the window from $x2 $y2 to $(window_geometry "$MAIN")"
x3=$((x2 - 20)); y3=$((y2 + 12))

# The shape moved with the window.
poll 5 screen_pixel_is "$((x3 + 1))" "$((y3 + 1))" "$GREEN" || fail "corner not see-through after the drag"

# F12: full screen, stored at once.
xdotool key F12
poll 5 geometry_is "$MAIN" "0 0 $SCREEN_W $SCREEN_H" || fail "full screen at $(window_geometry "$MAIN")"
expect_setting FullscreenMode 1
window_shown "$SPLASH_TITLE" && fail "the splash showed although it is switched off"
echo_pass
