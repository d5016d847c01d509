#!/usr/bin/env bash
# One installed copy, two users playing at the same time: each keeps their own
# key bindings and high scores in their own configuration, the second user
# (who does not own the installation and has no XDG_CONFIG_HOME) gets theirs
# under ~/.config, and neither run writes into the installation. The second
# user starts the game through a symbolic link to the launcher, as a
# distribution's /usr/games link or a user's ~/bin link would.
# Usage: shared_installation_test.sh <build folder> <source folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$@"
mk_skip_without_program
mk_require_tools Xvfb xdotool
mk_install
mk_start_x

before=$(mk_tree_listing "$MK_DESTDIR")

# The first user: XDG_CONFIG_HOME set, default keys, a Game A high score.
first_config=$MK_TMP/first/config
first_settings=$first_config/Tamarisk/MarshKpr50.conf
mk_preseed_settings "$first_settings" HiScore1=12

# The second user: only HOME, the A key for LEFT, other high scores. When the
# tests run as root this is a real other account, which cannot write into the
# installation at all.
second_home=$MK_TMP/second/home
second_settings=$second_home/.config/Tamarisk/MarshKpr50.conf
mk_preseed_settings "$second_settings" Key3=11 HiScore1=34 HiScore2=56
mkdir -p "$MK_TMP/second/bin" "$MK_TMP/second/cwd"
ln -s "$MK_ROOT/bin/marsh-keeper" "$MK_TMP/second/bin/marsh-keeper"
as_second=()
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
  chmod 755 "$MK_TMP/second"
  chown -R nobody "$second_home" "$MK_TMP/second/cwd"
  as_second=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi

mkdir -p "$MK_TMP/first/cwd"
(cd "$MK_TMP/first/cwd" && exec env XDG_CONFIG_HOME="$first_config" SDL_AUDIODRIVER=dummy \
  "$MK_ROOT/bin/marsh-keeper" >"$MK_TMP/first.log" 2>&1) &
first=$!
MK_PIDS+=($first)
(cd "$MK_TMP/second/cwd" && exec "${as_second[@]}" env -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS HOME="$second_home" SDL_AUDIODRIVER=dummy \
  "$MK_TMP/second/bin/marsh-keeper" >"$MK_TMP/second.log" 2>&1) &
second=$!
MK_PIDS+=($second)

read -r first_window _ < <(mk_wait_for_window "$first" 611x322) ||
  { cat "$MK_TMP/first.log" >&2; exit 1; }
read -r second_window _ < <(mk_wait_for_window "$second" 611x322) ||
  { cat "$MK_TMP/second.log" >&2; exit 1; }

if [ ${#as_second[@]} -gt 0 ]; then
  [ "$(ps -o user= -p "$second")" = nobody ] || mk_fail "the second game runs as $(ps -o user= -p "$second"), not as the other account"
fi

for window in "$first_window" "$second_window"; do
  xdotool windowfocus --sync "$window"
  xdotool key Escape
done
mk_wait_for_exit "$first" 10
mk_wait_for_exit "$second" 10

expect_setting() {
  local file=$1 name=$2 want=$3 got
  got=$(mk_setting "$file" "$name")
  [ "$got" = "$want" ] || mk_fail "$file: $name is '$got', expected '$want'"
}
# At start the game stores the four bindings as it read them: each user's own.
expect_setting "$first_settings" Key1 2
expect_setting "$first_settings" Key3 39
expect_setting "$first_settings" HiScore1 12
expect_setting "$first_settings" HiScore2 ""
expect_setting "$second_settings" Key1 2
expect_setting "$second_settings" Key3 11
expect_setting "$second_settings" HiScore1 34
expect_setting "$second_settings" HiScore2 56

after=$(mk_tree_listing "$MK_DESTDIR")
[ "$before" = "$after" ] ||
  mk_fail "the game changed its installation: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | head -10 | tr '\n' ' ')"
for cwd in "$MK_TMP/first/cwd" "$MK_TMP/second/cwd"; do
  [ -z "$(ls -A "$cwd")" ] || mk_fail "the game wrote into the directory it was started from: $(ls -A "$cwd")"
done

echo "PASS: two users share one installation and keep their settings apart"
