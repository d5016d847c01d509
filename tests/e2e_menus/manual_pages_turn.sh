#!/usr/bin/env bash
# The manual (F4) over the full-screen handheld: centred, page 1 without the
# previous-page button; the arrow keys turn one page per press, on the
# release, also when the key is held long enough to repeat; the page buttons
# turn pages on the mouse release; the window is dragged by its page; Esc
# hides it, and F4 shows it again where it was, on the page last viewed.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
# Keys reach the main window here once the manual has given the keyboard back.
AWAY="640 960"
xdotool mousemove $AWAY
xdotool key F4
MANUAL=$(wait_window "^Manual$")
wait_focus "$MANUAL" "the manual"
read -r mx my mw mh <<<"$(window_geometry "$MANUAL")"
[ "$mw $mh" = "630 380" ] || fail "the manual is ${mw}x${mh}"
expect_centred "$MANUAL" "the manual"

# Button boxes in the window: 16 x 14, four pixels from the edges.
NEXT="16x14+$((mw - 20))+$((mh - 18))"
PREVIOUS="16x14+4+$((mh - 18))"
CLOSE="16x14+$((mw - 20))+4"
# The page above the row of the page buttons.
BODY="${mw}x$((mh - 20))+0+0"
page() { grab "$1" "${mw}x${mh}+${mx}+${my}"; }
settled_page() { grab_settled "$1" "${mw}x${mh}+${mx}+${my}"; }
body_of() { crop "$1" "$1_body" "$BODY"; }
blue_in() { count_where "$1" "$2" 'b>0.9&&r<0.1&&g<0.1'; }
# The page on screen now, compared with an earlier one.
page_is() { page now && same "$1" now; }
body_is() { page now && body_of now && same "$1_body" now_body; }

settled_page page1
body_of page1
[ "$(blue_in page1 "$PREVIOUS")" = 0 ] || fail "page 1 shows the previous-page button"
[ "$(blue_in page1 "$NEXT")" -gt 30 ] || fail "page 1 shows no next-page button"
[ "$(blue_in page1 "$CLOSE")" -gt 30 ] || fail "the manual shows no close button"

xdotool key Right
poll 5 eval '! page_is page1' || fail "Right did not turn the page"
settled_page page2
body_of page2
[ "$(blue_in page2 "$PREVIOUS")" -gt 30 ] || fail "page 2 shows no previous-page button"
xdotool key Left
poll 5 page_is page1 || fail "Left did not go back to page 1"

# A held key turns the page once, when it is let go: the X server repeats
# it meanwhile.
xdotool keydown Right
sleep 1.3
body_is page1 || { xdotool keyup Right; fail "the page turned while Right was still held"; }
xdotool keyup Right
poll 5 page_is page2 || fail "holding Right did not end on page 2"
sleep 0.5
page_is page2 || fail "holding Right turned more than one page"

# The mouse: the page turns on the release of the button, not on the press.
crop page2 released_previous "$PREVIOUS"
looks_pressed() { page now && crop now now_previous "$PREVIOUS" && ! same released_previous now_previous; }
xdotool mousemove "$((mx + 4 + 8))" "$((my + mh - 18 + 7))" mousedown 1
poll 5 looks_pressed || { xdotool mouseup 1; fail "the previous-page button does not look pressed while held"; }
sleep 0.3
body_is page2 || fail "the page turned on pressing the previous-page button"
xdotool mouseup 1
poll 5 page_is page1 || fail "releasing the previous-page button did not show page 1"
xdotool mousemove "$((mx + mw - 20 + 8))" "$((my + mh - 18 + 7))" mousedown 1
sleep 0.4
body_is page1 || fail "the page turned on pressing the next-page button"
xdotool mouseup 1
poll 5 page_is page2 || fail "releasing the next-page button did not show page 2"

# Dragged by the page.
xdotool mousemove "$((mx + 300))" "$((my + 150))" mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove "$((mx + 300 + step * 8))" "$((my + 150 + step * 6))"; sleep 0.05; done
xdotool mouseup 1
poll 5 geometry_is "$MANUAL" "$((mx + 40)) $((my + 30)) $mw $mh" ||
  fail "dragging the page by 40,30 moved the manual from $mx,$my to $(window_geometry "$MANUAL")"
mx=$((mx + 40)); my=$((my + 30))
page_is page2 || fail "the page changed while the manual was dragged"

# Esc hides it; F4 brings it back where it was, on page 2, the close button
# released again.
xdotool mousemove $AWAY
xdotool key Escape
poll 5 is_unmapped "$MANUAL" || fail "Esc did not hide the manual"
sleep 0.3
expect_alive "Esc in the manual"
xdotool key F4
poll 5 is_mapped "$MANUAL" || fail "F4 did not show the manual again"
wait_focus "$MANUAL" "the manual shown again"
geometry_is "$MANUAL" "$mx $my $mw $mh" || fail "the manual came back at $(window_geometry "$MANUAL"), left at $mx,$my"
page_is page2 || fail "the manual came back on another page than page 2, or with a pressed button"

xdotool key Escape
poll 5 is_unmapped "$MANUAL" || fail "Esc did not hide the manual the second time"
sleep 0.3
exit_with_escape
echo_pass
