#!/usr/bin/env bash
# A program stopped for 2 s (SIGSTOP, then SIGCONT) in the middle of Game B
# skips the missed time: the recording has one skip line of about 2 s, no
# handler runs late by more than the stall limit (a burst of caught-up ticks
# would be up to 2 s late), the simulator replays the session exactly, and a
# termination request (SIGTERM) still writes the recording and the trace.
source "$(dirname "$0")/../lib/display.sh" "$1"
SIM="$BUILD_DIR/marsh-keeper-sim"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game --record "$WORK/stall.rec" --trace "$WORK/stall.trace"
xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H - 60))"
xdotool key 1
sleep 0.5
xdotool key Right      # Game B
for _ in $(seq 8); do xdotool key Left; sleep 0.3; xdotool key Right; sleep 0.3; done
kill -STOP "$GAME_PID"
sleep 2
kill -CONT "$GAME_PID"
for _ in $(seq 8); do xdotool key Right; sleep 0.3; xdotool key Left; sleep 0.3; done
stop_game              # SIGTERM, as the system ends a program

[ -s "$WORK/stall.rec" ] || fail "no recording after SIGTERM"
mapfile -t skips < <(sed -n 's/^[0-9]* skip \([0-9]*\)$/\1/p' "$WORK/stall.rec")
[ "${#skips[@]}" = 1 ] || fail "${#skips[@]} skip lines, expected one: ${skips[*]}"
[ "${skips[0]}" -ge 1700 ] && [ "${skips[0]}" -le 3000 ] || fail "skipped ${skips[0]} ms of a 2 s stop"
late=$(sed 1d "$WORK/stall.trace.lateness" | awk '$1 > 250000' | wc -l)
[ "$late" = 0 ] || fail "$late handlers ran more than 250 ms late: a burst of ticks"
grep -q " skip ${skips[0]}$" "$WORK/stall.trace" || fail "the trace does not show the skip"

"$SIM" --replay "$WORK/stall.rec" >"$WORK/sim.trace" 2>"$WORK/sim.err" || fail "the simulator refused: $(cat "$WORK/sim.err")"
if ! cmp -s "$WORK/stall.trace" "$WORK/sim.trace"; then
  diff "$WORK/stall.trace" "$WORK/sim.trace" | head -20 >&2
  fail "the simulator's replay differs from the window's trace"
fi
echo "skipped ${skips[0]} ms; slowest handler $(sed 1d "$WORK/stall.trace.lateness" | sort -n | tail -1) µs late"
echo_pass
