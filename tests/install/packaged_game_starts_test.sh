#!/usr/bin/env bash
# The program as the package ships it (stripped, its launcher in /usr/games)
# still starts and shows the handheld, and writes nothing into its files.
# Usage: packaged_game_starts_test.sh <build folder> <source folder> <package folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$1" "$2"
mk_require_tools Xvfb xdotool dpkg-deb
debs=("$3"/*.deb)
[ -f "${debs[0]}" ] || { echo "SKIP: no package was built"; exit "$MK_SKIP"; }

root=$MK_TMP/root
dpkg-deb -x "${debs[0]}" "$root"
mk_start_x
before=$(mk_tree_listing "$root")

config=$MK_TMP/config
mk_preseed_settings "$config/Tamarisk/MarshKpr50.conf"
mkdir "$MK_TMP/cwd"
(cd "$MK_TMP/cwd" && exec env XDG_CONFIG_HOME="$config" SDL_AUDIODRIVER=dummy \
  "$root/usr/games/marsh-keeper" >"$MK_TMP/game.log" 2>&1) &
game=$!
MK_PIDS+=($game)

read -r window _ < <(mk_wait_for_window "$game" 611x322) || { cat "$MK_TMP/game.log" >&2; exit 1; }
xdotool windowfocus --sync "$window"
xdotool key Escape
mk_wait_for_exit "$game" 10

[ "$before" = "$(mk_tree_listing "$root")" ] || mk_fail "the packaged game changed its files"
echo "PASS: the packaged game starts"
