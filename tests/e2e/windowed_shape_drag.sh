#!/usr/bin/env bash
# The windowed handheld: centred, see-through around its outline, dragged by
# its face and by the ALARM button, worked by mouse and keys.
source "$(dirname "$0")/lib.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game
main=$(wait_window "^Marsh Keeper \(Vexora, Slimline\) Simulator$")
sleep 1
xdotool search --onlyvisible --name "^About this game...$" >/dev/null && fail "the splash shows although it is switched off"
read -r x y w h <<<"$(window_geometry "$main")"
read -r _ _ gw gh <<<"$(slot_box 1)"
[ "$w $h" = "$gw $gh" ] || fail "window is ${w}x${h}, the skin ${gw}x${gh}"
[ "$x $y" = "$(((SCREEN_W - w) / 2)) $(((SCREEN_H - h) / 2))" ] || fail "window at $x $y is not centred"

# The desktop (green) shows at the face's rounded corners, inside the window.
shot
[ "$(pixel "$((x + 1))" "$((y + 1))")" = "srgb(0,255,0)" ] || fail "top-left corner of the window is not see-through"
[ "$(pixel "$((x + w - 2))" "$((y + h - 2))")" = "srgb(0,255,0)" ] || fail "bottom-right corner is not see-through"
[ "$(pixel "$((x + w / 2))" "$((y + h / 2))")" != "srgb(0,255,0)" ] || fail "the handheld itself is see-through"

# TIME held with the mouse shows the alarm view; the release the clock.
read -r tl tt tw th <<<"$(slot_box 4)"
read -r sl st sw sh <<<"$(slot_box 2)"
screen="${sw}x${sh}+$((x + sl))+$((y + st))"
import -window root -crop "$screen" "$WORK/all_on.png"
xdotool mousemove "$((x + tl + tw / 2))" "$((y + tt + th / 2))" mousedown 1
sleep 0.4
import -window root -crop "$screen" "$WORK/alarm.png"
xdotool mouseup 1
sleep 0.4
import -window root -crop "$screen" "$WORK/clock.png"
differs() { local d; d=$(compare -metric AE "$1" "$2" null: 2>&1 || true); [ "${d%% *}" != "0" ]; }
differs "$WORK/all_on.png" "$WORK/alarm.png" || fail "holding TIME did not change the screen"
differs "$WORK/alarm.png" "$WORK/clock.png" || fail "releasing TIME did not change the screen"

# The bound RIGHT key starts Game B from the clock.
xdotool key Right
sleep 1.2
import -window root -crop "$screen" "$WORK/game_b.png"
differs "$WORK/clock.png" "$WORK/game_b.png" || fail "the right arrow key did not start a game"

# Drag by the face: a point on its left edge, clear of every button.
fx=$((x + 12)); fy=$((y + h / 2))
xdotool mousemove "$fx" "$fy" mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove "$((fx + step * 8))" "$((fy + step * 5))"; sleep 0.05; done
xdotool mouseup 1
sleep 0.3
read -r x2 y2 _ _ <<<"$(window_geometry "$main")"
[ "$x2 $y2" = "$((x + 40)) $((y + 25))" ] || fail "drag by the face moved the window from $x $y to $x2 $y2"

# Drag by the ALARM button.
read -r al at aw ah <<<"$(slot_box 7)"
ax=$((x2 + al + aw / 2)); ay=$((y2 + at + ah / 2))
xdotool mousemove "$ax" "$ay" mousedown 1
for step in 1 2 3 4; do xdotool mousemove "$((ax - step * 5))" "$((ay + step * 3))"; sleep 0.05; done
xdotool mouseup 1
sleep 0.3
read -r x3 y3 _ _ <<<"$(window_geometry "$main")"
[ "$x3 $y3" = "$((x2 - 20)) $((y2 + 12))" ] || fail "drag by ALARM moved the window from $x2 $y2 to $x3 $y3"

# The shape moved with the window.
shot
[ "$(pixel "$((x3 + 1))" "$((y3 + 1))")" = "srgb(0,255,0)" ] || fail "corner not see-through after the drag"

# F12: full screen, stored at once.
xdotool key F12
sleep 1
expect_setting FullscreenMode 1
read -r x4 y4 w4 h4 <<<"$(window_geometry "$main")"
[ "$x4 $y4 $w4 $h4" = "0 0 $SCREEN_W $SCREEN_H" ] || fail "full screen at $x4 $y4 $w4 $h4"
echo_pass
