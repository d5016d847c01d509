#!/usr/bin/env bash
# The installed launcher, started from an unrelated directory with a fresh
# user configuration, brings up the handheld on the default skin: a 611 by
# 322 window showing the face picture of the installed skin, see-through
# around its outline. Esc quits it. Settings land in the user's
# configuration; nothing is written into the installation or the directory
# the launcher was started from.
# Usage: installed_game_starts_test.sh <build folder> <source folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$@"
mk_skip_without_program
mk_require_tools Xvfb xdotool xprop import convert
mk_install
mk_start_x

before=$(mk_tree_listing "$MK_DESTDIR")

config=$MK_TMP/config
mk_preseed_settings "$config/Tamarisk/MarshKpr50.conf"
elsewhere=$MK_TMP/elsewhere
mkdir "$elsewhere"

(cd "$elsewhere" && exec env XDG_CONFIG_HOME="$config" SDL_AUDIODRIVER=dummy \
  "$MK_ROOT/bin/marsh-keeper" >"$MK_TMP/game.log" 2>&1) &
game=$!
MK_PIDS+=($game)

read -r window x y width height < <(mk_wait_for_window "$game" 611x322) ||
  { cat "$MK_TMP/game.log" >&2; exit 1; }

# Qt draws the first frame right after mapping the window; give it a moment.
sleep 0.5
import -window root "$MK_TMP/screen.png"
convert "$MK_TMP/screen.png" -crop "${width}x${height}+${x}+${y}" +repage "$MK_TMP/window.png"
# Kept for whoever looks into a failure.
mkdir -p "$MK_BUILD/tests/install"
cp "$MK_TMP/window.png" "$MK_BUILD/tests/install/installed-game-window.png"

# Points of the case, the buttons and the printed frame, away from the LCD,
# whose segments are all lit at start-up: they show the face picture as it is.
face=$MK_TREE/Graphics/Skin/im_background.png
for point in "20 160" "590 160" "60 30" "100 300" "520 300" "300 298" "65 195" "548 195"; do
  read -r px py <<<"$point"
  want=$(mk_pixel "$face" "$px" "$py")
  got=$(mk_pixel "$MK_TMP/window.png" "$px" "$py")
  mk_close_colours "$want" "$got" 8 || mk_fail "at ($px, $py) of the face the window shows $got, the skin $want"
done

# The face's transparent corners are see-through: the black root window shows,
# not the window's key colour.
for point in "0 0" "610 0" "0 321" "610 321"; do
  read -r px py <<<"$point"
  got=$(mk_pixel "$MK_TMP/window.png" "$px" "$py")
  [ "$got" = "0 0 0" ] || mk_fail "the corner ($px, $py) of the window shows $got instead of the desktop"
done

# The window is the one the desktop entry announces.
class=$(xprop -id "$window" WM_CLASS 2>/dev/null || true)
grep -q '"marsh-keeper"' <<<"$class" || mk_fail "the window's class is $class, not the entry's StartupWMClass"

xdotool windowfocus --sync "$window"
xdotool key Escape
mk_wait_for_exit "$game" 10

settings=$config/Tamarisk/MarshKpr50.conf
[ "$(mk_setting "$settings" Key1)" = 2 ] || mk_fail "the key bindings were not written to the user's settings: $(cat "$settings")"

after=$(mk_tree_listing "$MK_DESTDIR")
[ "$before" = "$after" ] ||
  mk_fail "the game changed its installation: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | head -10 | tr '\n' ' ')"
[ -z "$(ls -A "$elsewhere")" ] || mk_fail "the game wrote into the directory it was started from: $(ls -A "$elsewhere")"
[ -z "$(find "$config" -type f ! -path "$settings")" ] ||
  mk_fail "unexpected files in the user's configuration: $(find "$config" -type f)"

echo "PASS: the installed game starts from anywhere and writes only the user's settings"
