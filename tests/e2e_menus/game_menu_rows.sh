#!/usr/bin/env bash
# The in-game menu of the full-screen window: the menu button unfolds the
# translucent panel to 256 x 448 with ten rows of text and three empty ones;
# a row under the pointer turns opaque black, an empty row never does;
# clicking a row runs its command and folds the menu back to the button,
# clicking an empty row does nothing, and the button folds it too, also when
# clicked twice in quick succession.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0 HiScore1=5 HiScore2=7
start_game
# Everything the menu may touch lies in this corner.
CORNER=272x464+0+0
crop start closed "$CORNER"
crop closed closed_menu 256x448+0+0
SEPARATORS=" 5 9 12 "

open_game_menu() {
  xdotool mousemove 18 16 click 1
  poll 5 grab_differs closed_menu 256x448+0+0 || fail "the menu button did not open the in-game menu"
  # Away from the rows, so none is highlighted.
  xdotool mousemove 700 600
  grab_settled open "$CORNER"
}
row_box() { echo "256x32+0+$((32 * $1))"; }
# Right of every caption: only the panel (or the highlight) shows there.
row_tail() { echo "40x32+216+$((32 * $1))"; }
# The x just right of the last white pixel of a row's caption.
caption_end() {
  convert "$WORK/$1.png" -crop "$(row_box "$2")" +repage -fx 'r>0.8&&g>0.8&&b>0.8' -trim -format '%[fx:page.x+w]' info:
}
white_in_row() { count_where open "$(row_box "$1")" 'r>0.8&&g>0.8&&b>0.8'; }
# The brightest channel value of a part of the screen as it is now.
brightest_on_screen() { grab now "$1" && brightest now "${1%%+*}+0+0"; }
hiscores() { echo "$(setting HiScore1) $(setting HiScore2)"; }

open_game_menu
# The panel covers 256 x 448 and dims what lies beneath; nothing beyond it changes.
crop open open_menu_area 256x448+0+0
crop closed right_of_panel 16x448+256+0 && crop open right_of_panel_open 16x448+256+0
same right_of_panel right_of_panel_open || fail "the open menu reaches beyond 256 pixels"
crop closed below_panel 256x16+0+448 && crop open below_panel_open 256x16+0+448
same below_panel below_panel_open || fail "the open menu reaches below 448 pixels"
for r in $(seq 1 13); do
  tail_closed=$(convert "$WORK/closed.png" -crop "$(row_tail "$r")" +repage -format '%[fx:mean]' info:)
  tail_open=$(convert "$WORK/open.png" -crop "$(row_tail "$r")" +repage -format '%[fx:mean]' info:)
  awk -v a="$tail_open" -v b="$tail_closed" 'BEGIN { exit !(a < b * 0.5) }' ||
    fail "row $r is not dimmed by the panel (mean $tail_open, $tail_closed before)"
done
# Thirteen rows below the title: text in ten, none in rows 5, 9 and 12.
for r in $(seq 1 13); do
  n=$(white_in_row "$r")
  if [[ "$SEPARATORS" == *" $r "* ]]; then
    [ "$n" = 0 ] || fail "the empty row $r shows $n white pixels"
  else
    [ "$n" -gt 20 ] || fail "row $r shows no caption ($n white pixels)"
  fi
done

# Hover: the row under the pointer turns opaque black, and back on leaving.
crop open tail8 "$(row_tail 8)"
[ "$(brightest open "$(row_tail 8)")" -gt 0 ] || fail "the panel is already black behind row 8: a highlight could not be seen"
xdotool mousemove 236 272
poll 5 prints 0 brightest_on_screen "$(row_tail 8)" || fail "row 8 is not highlighted under the pointer"
# An empty row shows no highlight; the row left behind is clear again.
xdotool mousemove 236 304
sleep 0.4
grab now "$(row_tail 9)"
crop open tail9 "$(row_tail 9)"
same tail9 now || fail "the empty row 9 changed under the pointer"
poll 5 grab_same tail8 "$(row_tail 8)" || fail "row 8 stays highlighted after the pointer left it"

# Clicking an empty row neither runs anything nor closes the menu.
xdotool mousemove 236 176 click 1
sleep 0.5
poll 5 grab_same open_menu_area 256x448+0+0 || fail "clicking the empty row 5 changed the menu"
expect_setting HiScore1 5

# The menu button folds the open menu back.
xdotool mousemove 18 16 click 1
poll 5 grab_same closed_menu 256x448+0+0 || fail "the menu button did not close the in-game menu"

# Two quick clicks (a double click to the window system) open and close it.
xdotool mousemove 18 16 click --repeat 2 --delay 120 1
sleep 0.6
poll 5 grab_same closed_menu 256x448+0+0 || fail "a quick second click on the menu button did not close the menu again"

# "Reset Hiscores" stores 0 for both games and folds the menu.
open_game_menu
xdotool mousemove 100 272 click 1
poll 5 prints "0 0" hiscores ||
  fail "after Reset Hiscores the store holds HiScore1=$(setting HiScore1) HiScore2=$(setting HiScore2)"
poll 5 grab_same closed_menu 256x448+0+0 || fail "the menu stays open after Reset Hiscores"

# "About..." shows the about dialog and folds the menu.
open_game_menu
xdotool mousemove 60 48 click 1
about=$(wait_window "^About the author\.\.\.$")
wait_focus "$about" "the about dialog"
poll 5 grab_same closed_menu 256x448+0+0 || fail "the menu stays open after About..."
xdotool key Escape
poll 5 is_unmapped "$about" || fail "Esc did not hide the about dialog"
sleep 0.3
expect_alive "after the about dialog was closed"

# The splash row stores the choice; the menu shows its check mark (" [V]")
# from the next opening on.
open_game_menu
splash_end=$(caption_end open 11)
xdotool mousemove 100 368 click 1
poll 5 prints 1 setting SplashScreen || fail "SplashScreen is '$(setting SplashScreen)' after the in-game splash row"
poll 5 grab_same closed_menu 256x448+0+0 || fail "the menu stays open after the splash row"
open_game_menu
splash_checked_end=$(caption_end open 11)
[ "$splash_checked_end" -gt $((splash_end + 10)) ] ||
  fail "the splash row ends at x $splash_checked_end once checked, at $splash_end before: no check mark added"

# "Exit" ends the program cleanly.
xdotool mousemove 40 432 click 1
expect_clean_exit "the in-game row Exit"
echo_pass
