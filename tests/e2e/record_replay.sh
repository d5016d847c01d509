#!/usr/bin/env bash
# A session in the window is the simulator's run: a Game A and a Game B of
# 30 s each, played with keys while the window records and traces, give a
# recording whose replay in marsh-keeper-sim prints exactly the window's
# trace; played back in the window, the same recording shows the same game.
source "$(dirname "$0")/../lib/display.sh" "$1"
SIM="$BUILD_DIR/marsh-keeper-sim"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game --record "$WORK/session.rec" --trace "$WORK/window.trace"
xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H - 60))"

# Taps and holds of LEFT and RIGHT at uneven moments, for $1 seconds, so
# held keys repeat and the filter holds releases back as it does for a hand.
play_for() {
  local end=$((SECONDS + $1)) n=0
  while [ "$SECONDS" -lt "$end" ]; do
    n=$((n + 1))
    key=$([ $((RANDOM % 2)) = 0 ] && echo Left || echo Right)
    if [ $((n % 7)) = 0 ]; then
      xdotool keydown "$key"; sleep 0.6; xdotool keyup "$key"
    else
      xdotool key "$key"
    fi
    sleep "0.$((RANDOM % 4))$((RANDOM % 10))"
  done
}

xdotool key 1          # TIME: the clock
sleep 0.5
xdotool key Left       # Game A
play_for 30
xdotool key 5          # ACL: everything off, then on again
sleep 0.5
xdotool key 1
sleep 0.5
xdotool key Right      # Game B
play_for 30
exit_with_escape

[ -s "$WORK/session.rec" ] || fail "no recording written"
[ -s "$WORK/window.trace" ] || fail "no trace written"
grep -q ' mode 5$' "$WORK/window.trace" || fail "the trace has no Game A"
grep -q ' mode 7$' "$WORK/window.trace" || fail "the trace has no Game B"
presses=$(grep -cE '^[0-9]+ (down|up) ' "$WORK/session.rec" || true)
[ "$presses" -gt 40 ] || fail "only $presses button events recorded"
head -1 "$WORK/window.trace.lateness" | grep -q microseconds || fail "the lateness file does not name its unit"
[ "$(sed 1d "$WORK/window.trace.lateness" | wc -l)" -gt 400 ] || fail "too few lateness figures"

"$SIM" --replay "$WORK/session.rec" >"$WORK/sim.trace" 2>"$WORK/sim.err" || fail "the simulator refused the recording: $(cat "$WORK/sim.err")"
if ! cmp -s "$WORK/window.trace" "$WORK/sim.trace"; then
  diff "$WORK/window.trace" "$WORK/sim.trace" | head -20 >&2
  fail "the simulator's replay differs from the window's trace"
fi
echo "replayed $(wc -l <"$WORK/sim.trace") trace lines, $presses button events"

# The same recording played back in the window: the player's keys are
# ignored, and the trace up to the recording's end is the same again.
until_ms=$(sed -n 's/^until //p' "$WORK/session.rec")
start_game --replay "$WORK/session.rec" --trace "$WORK/playback.trace"
xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H - 60))"
sleep "$(((until_ms + 999) / 1000))"
xdotool key Left Left Right    # nothing of the player's reaches the game
sleep 1
exit_with_escape
awk -v until="$until_ms" '$1 <= until' "$WORK/playback.trace" >"$WORK/playback.until"
if ! cmp -s "$WORK/sim.trace" "$WORK/playback.until"; then
  diff "$WORK/sim.trace" "$WORK/playback.until" | head -20 >&2
  fail "the window's playback differs from the recorded session"
fi
score_line=$(grep -E ' digit [1-4] ' "$WORK/sim.trace" | tail -4 | tr '\n' ' ')
echo "played back to the same display (last digits: $score_line)"
echo_pass
