#!/usr/bin/env bash
# The installed launcher changes into the installed folder, yet a recording
# and a trace named with relative paths, on the command line or through
# MARSH_KEEPER_RECORD (as a desktop launcher sets it), land in the folder the
# user started from, never in the installation; the simulator replays the
# recording as the window traced it.
# Usage: installed_game_records_test.sh <build folder> <source folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$@"
mk_skip_without_program
mk_require_tools Xvfb xdotool
mk_install
mk_start_x

before=$(mk_tree_listing "$MK_DESTDIR")
config=$MK_TMP/config
mk_preseed_settings "$config/Tamarisk/MarshKpr50.conf"
home=$MK_TMP/home
mkdir -p "$home/runs"

# $1: how the recording is named; the rest: the command line.
play_once() {
  local how=$1
  shift
  (cd "$home" && exec env XDG_CONFIG_HOME="$config" SDL_AUDIODRIVER=dummy "$@") >"$MK_TMP/game.log" 2>&1 &
  local game=$!
  MK_PIDS+=($game)
  local window
  read -r window _ < <(mk_wait_for_window "$game" 611x322) || { cat "$MK_TMP/game.log" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
  xdotool key 1
  sleep 0.3
  xdotool key Right
  sleep 1.5
  xdotool key Left
  sleep 0.3
  xdotool key Escape
  mk_wait_for_exit "$game" 10
  echo "recorded through $how"
}

play_once "--record" "$MK_ROOT/bin/marsh-keeper" --record runs/play.rec --trace runs/play.trace
[ -s "$home/runs/play.rec" ] || mk_fail "no recording in the start folder: $(ls -R "$home"; cat "$MK_TMP/game.log")"
[ -s "$home/runs/play.trace" ] || mk_fail "no trace in the start folder"
[ -s "$home/runs/play.trace.lateness" ] || mk_fail "no lateness figures beside the trace"
"$MK_BUILD/marsh-keeper-sim" --replay "$home/runs/play.rec" >"$MK_TMP/sim.trace" || mk_fail "the simulator refused the recording"
cmp -s "$home/runs/play.trace" "$MK_TMP/sim.trace" || mk_fail "the simulator's replay differs from the window's trace"

play_once "MARSH_KEEPER_RECORD" env MARSH_KEEPER_RECORD=runs/launcher.rec "$MK_ROOT/bin/marsh-keeper"
[ -s "$home/runs/launcher.rec" ] || mk_fail "MARSH_KEEPER_RECORD did not land in the start folder: $(ls -R "$home")"

after=$(mk_tree_listing "$MK_DESTDIR")
[ "$before" = "$after" ] ||
  mk_fail "the game wrote into its installation: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | head -5 | tr '\n' ' ')"
echo "PASS: recordings and traces named relative to the start folder land there"
