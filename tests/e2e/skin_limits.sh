#!/usr/bin/env bash
# Skin values at their limits. A window side no window can have is reported
# in an error box and the handheld still comes up at 611 x 322, in either
# presentation; boxes and offsets at the ends of the 32-bit range are drawn,
# hit and dragged without harm. The sanitizer build runs this too: there an
# overflow anywhere ends the program, which fails the clean exit.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x

# A bad side: the box comes first, then the handheld at the default size.
for bad in "GameWidth 0" "GameHeight -1" "GameWidth 8193" "GameHeight -2147483648"; do
  for fullscreen in 0 1; do
    rm -rf "$WORK/game" "$(dirname "$SETTINGS")"
    make_tree
    read -r key value <<<"$bad"
    set_config Common "$key" "$value"
    write_settings FullscreenMode=$fullscreen SoundMode=2 SplashScreen=0
    launch_game
    box=$(wait_window "^Error$")
    wait_focus "$box" "the message about $key=$value"
    xdotool key Return
    poll 5 is_unmapped "$box" || fail "the message box about $key=$value does not close"
    MAIN=$(wait_window "^$(regex "$TITLE")$")
    if [ $fullscreen = 1 ]; then
      poll 5 geometry_is "$MAIN" "0 0 $SCREEN_W $SCREEN_H" || fail "$key=$value: full screen is $(window_geometry "$MAIN")"
    else
      poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "$key=$value: the window is $(window_geometry "$MAIN")"
    fi
    grab_settled shown "$(window_box "$MAIN")"
    shot face
    [ "$(pixel face "$((FS_X + 305))" "$((FS_Y + 250))")" != "$GREEN" ] || fail "$key=$value: no handheld is drawn"
    window_shown "Error" && fail "$key=$value: a second message"
    exit_with_escape
  done
done

# Boxes at the ends of the range, and a full-screen offset as far as int goes.
rm -rf "$WORK/game" "$(dirname "$SETTINGS")"
make_tree
set_config Image1 Width 2147483647
set_config Image1 Height 2147483647
set_config Image20 Left -2147483648
set_config Image20 Top -2147483648
set_config Image20 Width 2147483647
set_config Image20 Height 2147483647
set_config Image30 Left -2147483647
set_config Image30 Top -2147483647
set_config Image30 Width 2147483647
set_config Image30 Height 2147483647
set_config Image40 Left 2147483647
set_config Image40 Top 2147483647
set_config Image40 Width 2147483647
set_config Image40 Height 2147483647
set_config Image50 Width -2147483648
set_config Fullscreen GameOffsetY 2147483647
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
window_shown "Error" && fail "boxes at the ends of the range gave a message"
# Hit tests and repaints everywhere on the screen, segments lit by a game.
for x in 0 300 640 1000 1279; do xdotool mousemove "$x" 400 click 1; done
xdotool key Left Right
sleep 0.5
expect_alive "after clicks and keys over far-away boxes"

# Windowed: drawn from the face's left-top corner, and dragged by the face.
xdotool key F12
poll 5 geometry_is "$MAIN" "$FS_X $FS_Y 611 322" || fail "F12 did not switch to the window: $(window_geometry "$MAIN")"
grab_settled windowed "611x322+$FS_X+$FS_Y"
[ "$(pixel windowed 305 250)" != "$GREEN" ] || fail "the face reaching to 2^31-1 is not drawn"
fx=$((FS_X + 12)); fy=$((FS_Y + 161))
xdotool mousemove "$fx" "$fy" mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove "$((fx + step * 8))" "$((fy + step * 5))"; sleep 0.05; done
xdotool mouseup 1
poll 5 geometry_is "$MAIN" "$((FS_X + 40)) $((FS_Y + 25)) 611 322" ||
  fail "drag by the face moved the window to $(window_geometry "$MAIN")"
xdotool key F12
poll 5 geometry_is "$MAIN" "0 0 $SCREEN_W $SCREEN_H" || fail "F12 did not switch back to full screen"
sleep 0.5
exit_with_escape
echo_pass
