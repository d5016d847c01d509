#!/usr/bin/env bash
# A game's high score is stored at game over and is there after a restart:
# the next game shows it on the panel, where the first game showed 000.
source "$(dirname "$0")/../lib/display.sh" "$1"
start_x
make_tree
write_settings FullscreenMode=0 SoundMode=2 SplashScreen=0
start_game
read -r x y w h <<<"$(window_geometry "$MAIN")"
read -r pl pt pw ph <<<"$(slot_box 21)"   # first digit position: the panel's left end
panel="$((pw * 4 + 40))x$((ph + 4))+$((x + pl - 2))+$((y + pt - 2))"
read -r sl st sw sh <<<"$(slot_box 2)"
screen="${sw}x${sh}+$((x + sl))+$((y + st))"

# TIME brings the clock, GAME A then starts a game. The panel shows the high
# score only for the first 900 ms of a game, so it is grabbed at a fixed
# moment well inside that span.
start_game_a() {
  crop start all_on_lcd "$screen"   # start.png is the whole screen
  xdotool key 1
  poll 5 grab_differs all_on_lcd "$screen" || fail "the 1 key (TIME) did not bring the clock"
  xdotool key Left
  sleep 0.4
  grab "$1" "$panel"
}

# Where the warning steps of the three lanes are drawn (the step before the
# hero): lit in the all-segments picture, dark on the clock.
warn=()
for slot in 65 71 74; do
  read -r px py <<<"$(slot_point $slot)"
  warn+=("%[fx:int(255*p{$px,$py}.g)]")
done
colours() {
  grab face "${w}x${h}+${x}+${y}"
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
  if ! grab_same first "$panel"; then caught=yes; break; fi
done
[ -n "$caught" ] || fail "no catch while playing"
has_hiscore() { [ -n "$(setting HiScore1)" ]; }
poll 60 has_hiscore || fail "no high score stored after a game"
score=$(setting HiScore1)
[ "$score" -gt 0 ] || fail "high score $score"

stop_game
start_game
start_game_a second
expect_setting HiScore1 "$score"
same first second && fail "the panel shows the same high score as before the first game"
echo "high score $score kept"
echo_pass
