#!/usr/bin/env bash
# A game's high score is stored at game over and is there after a restart:
# the next game shows it on the panel, where the first game showed 000.
source "$(dirname "$0")/lib.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game
main=$(wait_window "^Marsh Keeper \(Vexora, Slimline\) Simulator$")
sleep 1
read -r x y w h <<<"$(window_geometry "$main")"
read -r pl pt pw ph <<<"$(slot_box 21)"   # first digit position: the panel's left end
panel="$((pw * 4 + 40))x$((ph + 4))+$((x + pl - 2))+$((y + pt - 2))"

start_game_a() {
  xdotool key 1
  sleep 0.3
  xdotool key Left
  sleep 0.4   # within the 900 ms the panel shows the high score
  import -window root -crop "$panel" "$WORK/$1.png"
}

# Where the warning steps of the three lanes are drawn (the step before the
# hero): lit in the all-segments picture, dark on the clock.
warn=()
for slot in 65 71 74; do
  read -r px py <<<"$(slot_point $slot)"
  warn+=("%[fx:int(255*p{$px,$py}.g)]")
done
colours() {
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$WORK/face.png"
  convert "$WORK/face.png" -format "${warn[*]}" info:
}
read -r -a lit <<<"$(colours)"          # GameMode 1: every warning step lit
start_game_a first
read -r -a dark <<<"$(colours)"

# Play like a person until the first catch: walk the hero to the lane whose
# warning step lights up. After that the hero stands still and the game ends
# with three misses.
lane=2
caught=""
for _ in $(seq 200); do
  read -r -a now <<<"$(colours)"
  for r in 0 1 2; do
    mid=$(((lit[r] + dark[r]) / 2))
    if { [ "${lit[r]}" -lt "${dark[r]}" ] && [ "${now[r]}" -lt "$mid" ]; } ||
       { [ "${lit[r]}" -gt "${dark[r]}" ] && [ "${now[r]}" -gt "$mid" ]; }; then
      want=$((r + 1))
      while [ "$lane" -gt "$want" ]; do xdotool key Left; lane=$((lane - 1)); done
      while [ "$lane" -lt "$want" ]; do xdotool key Right; lane=$((lane + 1)); done
    fi
  done
  import -window root -crop "$panel" "$WORK/now.png"
  d=$(compare -metric AE "$WORK/first.png" "$WORK/now.png" null: 2>&1 || true)
  if [ "${d%% *}" != "0" ]; then caught=yes; break; fi
done
[ -n "$caught" ] || fail "no catch while playing"
for _ in $(seq 120); do
  [ -n "$(setting HiScore1)" ] && break
  sleep 0.5
done
score=$(setting HiScore1)
[ -n "$score" ] || fail "no high score stored after a game"
[ "$score" -gt 0 ] || fail "high score $score"

kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""
start_game
wait_window "^Marsh Keeper \(Vexora, Slimline\) Simulator$" >/dev/null
sleep 1
start_game_a second
expect_setting HiScore1 "$score"
diff=$(compare -metric AE "$WORK/first.png" "$WORK/second.png" null: 2>&1 || true)
[ "${diff%% *}" != "0" ] || fail "the panel shows the same high score as before the first game"
echo "high score $score kept"
echo_pass
