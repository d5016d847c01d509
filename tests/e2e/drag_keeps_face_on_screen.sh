#!/usr/bin/env bash
# However far the windowed handheld is dragged, at least 64 x 32 pixels of
# its face stay on the screen to grab it again: pushed over the top-left
# corner and over the bottom-right one, and it can be dragged back.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game
read -r x y w h <<<"$(window_geometry "$MAIN")"

# Drags from a screen point to another in small steps.
drag() {
  local sx=$1 sy=$2 ex=$3 ey=$4 i
  xdotool mousemove "$sx" "$sy" mousedown 1
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$((sx + (ex - sx) * i / 8))" "$((sy + (ey - sy) * i / 8))"
    sleep 0.03
  done
  xdotool mouseup 1
  sleep 0.3
}
# Pixels of the handheld in a part of the screen ("WxH+X+Y"): everything
# not the desktop's green.
face_pixels() { grab now "$1" && count_where now "${1%%+*}+0+0" "(r==0&&g==1&&b==0)?0:1"; }

# Grabbed near the face's bottom-right corner and pushed to the screen's
# top-left corner: only that corner of the face may stay.
drag "$((x + w - 12))" "$((y + h - 12))" 0 0
read -r nx ny _ _ <<<"$(window_geometry "$MAIN")"
# No further in than the rounded corner of the face needs.
[ "$nx" -le $((64 - w + 16)) ] && [ "$ny" -le $((32 - h + 16)) ] ||
  fail "pushed to the top-left, the window stopped at $nx,$ny, short of $((64 - w)),$((32 - h))"
seen=$(face_pixels 200x200+0+0)
[ "$seen" -ge $((64 * 32)) ] || fail "only $seen pixels of the face stay on the screen at the top-left"

# Dragged back by what is left, then pushed over the bottom-right corner.
drag 40 20 1000 700
read -r bx by _ _ <<<"$(window_geometry "$MAIN")"
[ "$bx" -gt 0 ] && [ "$by" -gt 0 ] || fail "the face left on the screen could not be dragged back (window at $bx,$by)"
drag "$((bx + 12))" "$((by + 12))" "$((SCREEN_W - 1))" "$((SCREEN_H - 1))"
read -r nx ny _ _ <<<"$(window_geometry "$MAIN")"
[ "$nx" -ge $((SCREEN_W - 64 - 16)) ] && [ "$ny" -ge $((SCREEN_H - 32 - 16)) ] ||
  fail "pushed to the bottom-right, the window stopped at $nx,$ny, short of $((SCREEN_W - 64)),$((SCREEN_H - 32))"
seen=$(face_pixels "200x200+$((SCREEN_W - 200))+$((SCREEN_H - 200))")
[ "$seen" -ge $((64 * 32)) ] || fail "only $seen pixels of the face stay on the screen at the bottom-right"

drag "$((SCREEN_W - 30))" "$((SCREEN_H - 15))" 500 500
xdotool mousemove 600 600
exit_with_escape
echo_pass
