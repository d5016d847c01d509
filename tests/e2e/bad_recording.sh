#!/usr/bin/env bash
# A recording cut short, edited (its checksum no longer matches) or of
# binary data is refused whole: the simulator writes one line on standard
# error and nothing else, exits non-zero; the window says so in an error box,
# never shows the handheld, traces nothing and ends once the box is closed.
source "$(dirname "$0")/../lib/display.sh" "$1"
SIM="$BUILD_DIR/marsh-keeper-sim"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0

# A short, good recording of the window to spoil.
start_game --record "$WORK/good.rec"
xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H - 60))"
xdotool key 1; sleep 0.3; xdotool key Left; sleep 1; xdotool key Right; sleep 0.3
exit_with_escape
"$SIM" --replay "$WORK/good.rec" >/dev/null || fail "the simulator refused the good recording"

head -c "$(($(wc -c <"$WORK/good.rec") - 9))" "$WORK/good.rec" >"$WORK/cut.rec"
# One time in the body a millisecond later: the checksum no longer fits.
awk '/^[0-9]+ (down|up) / && !done { $1 = $1 + 1; done = 1 } { print }' "$WORK/good.rec" >"$WORK/edited.rec"
cmp -s "$WORK/good.rec" "$WORK/edited.rec" && fail "the edit changed nothing"
head -c 600 "$TREE/marsh-keeper" >"$WORK/binary.rec"

for bad in cut edited binary; do
  status=0
  "$SIM" --replay "$WORK/$bad.rec" >"$WORK/$bad.out" 2>"$WORK/$bad.err" || status=$?
  [ "$status" != 0 ] || fail "the simulator replayed the $bad recording"
  [ ! -s "$WORK/$bad.out" ] || fail "the simulator printed a partial replay of the $bad recording"
  [ "$(wc -l <"$WORK/$bad.err")" = 1 ] || fail "the simulator's refusal of the $bad recording is not one line: $(cat "$WORK/$bad.err")"
  grep -q "$bad.rec: " "$WORK/$bad.err" || fail "the refusal does not name the file: $(cat "$WORK/$bad.err")"

  launch_game --replay "$WORK/$bad.rec" --trace "$WORK/$bad.trace"
  box=$(wait_window "^Error$")
  window_shown "$TITLE" && fail "the handheld shows for the $bad recording"
  wait_focus "$box" "the error box"
  xdotool key Return
  wait_exit "the $bad recording was refused"
  [ "$EXIT_STATUS" != 0 ] || fail "the program ended with status 0 after refusing the $bad recording"
  [ ! -e "$WORK/$bad.trace" ] || fail "a trace was written for the $bad recording"
  [ "$(grep -c 'cannot be played back' "$WORK/game.log")" = 1 ] || fail "no one-line reason: $(cat "$WORK/game.log")"
  echo "$bad: $(cat "$WORK/$bad.err")"
done
echo_pass
