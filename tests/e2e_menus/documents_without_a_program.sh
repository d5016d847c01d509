#!/usr/bin/env bash
# Opening Readme.txt or Whatsnew.txt from the menu: when the desktop has no
# program for it (xdg-open fails), a message box says so instead of
# nothing; when it has one, no box appears and the document is handed over.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
# An xdg-open of the test's own, first on the program's PATH: it notes what
# it was asked to open and ends with the status in $WORK/xdg-status.
mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$WORK/opened"
exit \$(cat "$WORK/xdg-status")
SCRIPT
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"
write_settings FullscreenMode=1 SoundMode=2 SplashScreen=0
start_game
xdotool mousemove 640 980

# No program: xdg-open answers 3.
echo 3 >"$WORK/xdg-status"
xdotool key F2
BOX=$(wait_window "^Error$")
wait_focus "$BOX" "the message box"
grep -q "/Readme.txt$" "$WORK/opened" || fail "xdg-open was not asked for Readme.txt: $(cat "$WORK/opened")"
xdotool key Return
poll 5 is_unmapped "$BOX" || fail "the message box does not close"
expect_alive "the message box"

# A program: no box, the document handed over.
echo 0 >"$WORK/xdg-status"
xdotool mousemove 640 980
xdotool key F3
poll 5 grep -q "/Whatsnew.txt$" "$WORK/opened" || fail "xdg-open was not asked for Whatsnew.txt"
sleep 1
window_shown "Error" && fail "a message box appeared though a program opened the document"
exit_with_escape
echo_pass
