# Shared steps of the real-display tests: a private X server, a fresh
# settings folder, a private copy of the runnable tree, the program driven
# with xdotool like a person and checked by screenshots, window geometry and
# the settings file. A test script sources it with the build folder as $1:
#
#   source "$(dirname "$0")/../lib/display.sh" "$1"
#   start_x; make_tree; write_settings ...; start_game; ...; echo_pass
#
# Pictures are kept by name in the test's private folder: `grab lcd 40x11+5+5`
# writes $WORK/lcd.png, and every helper that reads a picture takes its name.
#
# MK_WM names the window manager the scenario runs under: empty for a bare X
# server, "openbox", or "xfwm4" (run inside its own D-Bus session, which it
# needs). Without a window manager, keys go to the window that holds the X
# input focus, or, once a hidden dialog has given the focus back to the root
# window, to the window under the pointer; with one, to the window it has
# made active. Helpers that depend on this say so; start_x is the one place
# that sets up the display.
set -euo pipefail

BUILD_DIR=$(cd "${1:?build folder}" && pwd)
TREE_SOURCE="$BUILD_DIR/game"
# The suite is the script's folder: failure pictures are named after both.
SUITE=$(basename "$(cd "$(dirname "$0")" && pwd)")
MK_WM=${MK_WM:-}
TEST_NAME=$(basename "$0" .sh)${MK_WM:+_$MK_WM}
WORK=$(mktemp -d "/tmp/mk-$SUITE.XXXXXX")
export XDG_CONFIG_HOME="$WORK/config"
export XDG_RUNTIME_DIR="$WORK/runtime"
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_LOGGING_RULES
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS="$XDG_CONFIG_HOME/Tamarisk/MarshKpr50.conf"
TITLE="Marsh Keeper (Vexora, Slimline) Simulator"
SPLASH_TITLE="About this game..."
GREEN="srgb(0,255,0)"   # the desktop, wherever a window lets it show through
GAME_PID=""
XVFB_PID=""
WM_PID=""
SCREEN_W=1280
SCREEN_H=1024
# The handheld's place on the full-screen window with the default skin
# (611 x 322, centred); also where the windowed handheld is centred.
FS_X=$(((SCREEN_W - 611) / 2))
FS_Y=$(((SCREEN_H - 322) / 2))

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  # The window manager runs in a process group of its own (with its D-Bus
  # session and the services that session started).
  [ -n "$WM_PID" ] && kill -- "-$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Reports the failure with a picture of the whole screen, how the program
# ended if it has, and the end of its output; ends the test.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    import -window root "$BUILD_DIR/$SUITE-failure-$TEST_NAME.png" 2>/dev/null || true
  fi
  if [ -n "$GAME_PID" ] && ! kill -0 "$GAME_PID" 2>/dev/null; then
    # Only the test's own shell can collect the status, not a $(...) copy.
    if [ "$BASHPID" = "$$" ]; then
      local status=0
      wait "$GAME_PID" || status=$?
      GAME_PID=""
      echo "(the program had ended, status $status)" >&2
    else
      echo "(the program had ended)" >&2
    fi
  fi
  if [ -s "$WORK/game.log" ]; then
    echo "--- program output:" >&2
    tail -20 "$WORK/game.log" >&2
  fi
  exit 1
}
echo_pass() { echo "PASS: $TEST_NAME"; }

# ---- the display, the tree, the store ------------------------------------

# A private X server with a plain green desktop. The server picks a free
# display itself, so tests started from other build folders at the same time
# never share one.
start_x() {
  Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [ -s "$WORK/display" ]; then
      export DISPLAY=":$(head -1 "$WORK/display")"
      if xdpyinfo >/dev/null 2>&1; then
        xsetroot -solid "#00ff00"
        [ -z "$MK_WM" ] || start_wm "$MK_WM"
        return 0
      fi
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  XVFB_PID=""
  fail "no X server could be started: $(cat "$WORK/xvfb.log")"
}

# The window manager's name as it announces itself on the root window.
wm_name() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | sed -n 's/.*= "\(.*\)"/\1/p'
}

# Starts a window manager and waits until it manages the screen.
start_wm() {
  local name
  case "$1" in
    openbox) setsid openbox --sm-disable >"$WORK/wm.log" 2>&1 & name=Openbox ;;
    xfwm4) setsid dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >"$WORK/wm.log" 2>&1 & name=Xfwm4 ;;
    *) fail "no such window manager: $1" ;;
  esac
  WM_PID=$!
  poll 20 prints "$name" wm_name || fail "$1 did not start: $(tail -5 "$WORK/wm.log")"
}

# $TREE: a copy of the runnable tree. The program and Config.ini are copied,
# since Config.ini is looked for beside the real executable and a test may
# take it away; everything else is linked, so nothing in the build is
# written and a test may remove a link.
make_tree() {
  TREE="$WORK/game"
  mkdir -p "$TREE"
  cp "$TREE_SOURCE/marsh-keeper" "$TREE_SOURCE/Config.ini" "$TREE/"
  local item
  for item in "$TREE_SOURCE"/*; do
    case "${item##*/}" in marsh-keeper | Config.ini) continue ;; esac
    ln -s "$item" "$TREE/${item##*/}"
  done
}

# The store before the program starts: one "Name=value" per argument.
write_settings() {
  mkdir -p "$(dirname "$SETTINGS")"
  { echo "[General]"; printf '%s\n' "$@"; } >"$SETTINGS"
}

setting() { grep -E "^$1=" "$SETTINGS" 2>/dev/null | head -1 | cut -d= -f2- || true; }

expect_setting() {
  local got
  got=$(setting "$1")
  [ "$got" = "$2" ] || fail "setting $1 is '$got', expected '$2'"
}

# Names of the values in the store, sorted, one line.
setting_names() { grep -E '^[A-Za-z0-9]+=' "$SETTINGS" | cut -d= -f1 | sort | tr '\n' ' '; }

# ---- waiting ----------------------------------------------------------------

# Runs a command until it succeeds; false after about $1 seconds. The command
# is run anew each time: to wait for a value, give a command that reads it
# (`poll 5 prints 1 setting FullscreenMode`), not "$(...)", which is read once.
poll() {
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}
# True when the command ($2...) prints exactly $1.
prints() {
  local want=$1
  shift
  [ "$("$@")" = "$want" ]
}

# ---- the program ------------------------------------------------------------

alive() { [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; }
expect_alive() { alive || fail "the program is gone: $*"; }

# Starts the program from the tree, with the arguments given, and returns at
# once (for starts that show a dialog first, or none at all).
launch_game() {
  (cd "$TREE" && exec ./marsh-keeper "$@") >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
}

# Starts the program and waits for the handheld's window ($MAIN) to be drawn.
# The handheld shows all its segments, unchanging, until a button is pressed:
# that screen is kept as start.png.
start_game() {
  launch_game "$@"
  wait_main
}
wait_main() {
  MAIN=$(wait_window "^$(regex "$TITLE")$")
  grab_settled start "${SCREEN_W}x${SCREEN_H}+0+0"
}

# Ends the program from outside, as the system does.
stop_game() {
  kill "$GAME_PID"
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=""
}

# Waits until the program has ended by itself; leaves its status in
# EXIT_STATUS. $1 says after what, for the failure.
wait_exit() {
  EXIT_STATUS=0
  for _ in $(seq 100); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID" || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end after $1"
}
# The same, and the program must have ended with status 0.
expect_clean_exit() {
  wait_exit "$1"
  [ "$EXIT_STATUS" = 0 ] || fail "the program exited with status $EXIT_STATUS after $1"
}

# Ends the program as a player does (Esc to the main window, which must have
# the keyboard) and checks that it exits by itself with status 0. Without a
# window manager the key reaches the main window through the pointer, which
# is put low on the screen, clear of every dialog.
exit_with_escape() {
  expect_alive "before the final Esc"
  xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H - 60))"
  xdotool key Escape
  expect_clean_exit "Esc"
}

# ---- windows ----------------------------------------------------------------

# A title as an exact-match pattern for wait_window.
regex() { printf '%s' "$1" | sed 's/[][().*^$?+|{}\\]/\\&/g'; }

# The id of the mapped window whose title matches; fails after a while (20
# s: a loaded machine may take that long to bring up a dialog), or as soon as
# the program has ended.
wait_window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    alive || fail "the program ended while waiting for the window '$1'"
    sleep 0.1
  done
  fail "no window named '$1'"
}
# Whether a window with this exact title is on screen now.
window_shown() { xdotool search --onlyvisible --name "^$(regex "$1")$" >/dev/null 2>&1; }

is_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_unmapped() { ! is_mapped "$1"; }

has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# Waits until the window holds the keyboard (what a shown dialog asks for).
wait_focus() { poll 5 has_focus "$1" || fail "$2 does not get the keyboard (focus: $(xdotool getwindowfocus))"; }

# "x y w h" of a window, in screen pixels.
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
geometry_is() { [ "$(window_geometry "$1")" = "$2" ]; }
# The frame a window manager puts around a window: "left right top bottom"
# pixels ("0 0 0 0" without one, or for a borderless window).
frame_extents() {
  local e
  e=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
  echo "${e:-0 0 0 0}"
}
# "x y w h" of a window with its frame: what is centred on the screen.
frame_geometry() {
  local x y w h l r t b
  read -r x y w h <<<"$(window_geometry "$1")"
  read -r l r t b <<<"$(frame_extents "$1")"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# Whether the window, frame included, is centred on the screen to within a
# pixel (dialogs round the odd pixel their own way).
is_centred() {
  local x y w h ex ey
  read -r x y w h <<<"$(frame_geometry "$1")"
  ex=$(((SCREEN_W - w) / 2)); ey=$(((SCREEN_H - h) / 2))
  [ $((x - ex)) -ge -1 ] && [ $((x - ex)) -le 1 ] && [ $((y - ey)) -ge -1 ] && [ $((y - ey)) -le 1 ]
}
# Fails unless the window is centred, or becomes so within a few seconds: a
# window manager announces its frame, and moves the window into it, after
# the window is mapped. $2: which.
expect_centred() {
  poll 5 is_centred "$1" && return 0
  local x y w h
  read -r x y w h <<<"$(frame_geometry "$1")"
  fail "$2 at $x,$y (frame included) is not centred (expected $(((SCREEN_W - w) / 2)),$(((SCREEN_H - h) / 2)))"
}
# A window's box "WxH+X+Y", for grab.
window_box() {
  local x y w h
  read -r x y w h <<<"$(window_geometry "$1")"
  echo "${w}x${h}+${x}+${y}"
}

# ---- screenshots ------------------------------------------------------------

shot() { import -window root "$WORK/$1.png"; }
# A part of the screen, "WxH+X+Y", as its own picture.
grab() { import -window root -crop "$2" +repage "$WORK/$1.png"; }
# The same part twice, a moment apart, alike and not of one colour: drawn.
settled() {
  grab "$1" "$2" && sleep 0.15 && grab "$1_again" "$2" && same "$1" "$1_again" &&
    [ "$(convert "$WORK/$1.png" -format %k info:)" -gt 1 ]
}
# Grabs a part of the screen once it has been drawn and stays so.
grab_settled() { poll 5 settled "$1" "$2" || fail "the screen at $2 keeps changing or is not drawn"; }
# A part of an earlier screenshot.
crop() { convert "$WORK/$1.png" -crop "$3" +repage "$WORK/$2.png"; }
# One pixel's colour, "srgb(r,g,b)".
pixel() { convert "$WORK/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
# The screen shows colour $3 at the point $1,$2.
screen_pixel_is() { shot pixel_probe && [ "$(pixel pixel_probe "$1" "$2")" = "$3" ]; }
# Number of differing pixels of two pictures of one size.
differing() { local d; d=$(compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true); echo "${d%% *}"; }
same() { [ "$(differing "$1" "$2")" = 0 ]; }
# The screen part $2 now looks like the picture $1 / differs from it; the
# part is left in now.png.
grab_same() { grab now "$2" && same "$1" now; }
grab_differs() { grab now "$2" && ! same "$1" now; }
# Pixels of a part of a picture whose colour passes an fx test.
count_where() { convert "$WORK/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:; }
# The brightest channel value (0..255) in a part of a picture.
brightest() { convert "$WORK/$1.png" -crop "$2" +repage -format '%[fx:round(255*maxima)]' info:; }

# ---- the skin ---------------------------------------------------------------

# One skin slot's box from the tree's Config.ini: "left top width height".
slot_box() {
  awk -v want="[image$1]" '
    { line=$0; sub(/\r$/, "", line) }
    tolower(line) ~ /^\[/ { in_slot = (tolower(line) == want) }
    in_slot && tolower(line) ~ /^left=/ { split(line, a, "="); l=a[2] }
    in_slot && tolower(line) ~ /^top=/ { split(line, a, "="); t=a[2] }
    in_slot && tolower(line) ~ /^width=/ { split(line, a, "="); w=a[2] }
    in_slot && tolower(line) ~ /^height=/ { split(line, a, "="); h=a[2] }
    END { print l, t, w, h }' "$TREE/Config.ini"
}

# Sets one value in the tree's Config.ini: "set_config Section Key value"
# replaces the key in that section (names in any case) or adds it there,
# adding the section at the end when there is none.
set_config() {
  awk -v section="[$(printf '%s' "$1" | tr '[:upper:]' '[:lower:]')]" \
      -v key="$(printf '%s' "$2" | tr '[:upper:]' '[:lower:]')" -v entry="$2=$3" -v header="[$1]" '
    function finish() { if (inside && !done) { print entry; done = 1 } }
    { line = $0; sub(/\r$/, "", line) }
    line ~ /^\[/ { finish(); inside = (tolower(line) == section) }
    inside && index(tolower(line), key "=") == 1 { if (!done) print entry; done = 1; next }
    { print }
    END { finish(); if (!done) { print header; print entry } }' "$TREE/Config.ini" >"$TREE/Config.ini.new"
  mv "$TREE/Config.ini.new" "$TREE/Config.ini"
}

# A point inside a slot's picture where the picture is opaque: the middle
# one of its opaque pixels. Prints "x y" in the handheld's own coordinates.
slot_point() {
  local sl st file
  read -r sl st _ _ <<<"$(slot_box "$1")"
  file=$(awk -v want="[image$1]" '
    { line=$0; sub(/\r$/, "", line) }
    tolower(line) ~ /^\[/ { in_slot = (tolower(line) == want) }
    in_slot && tolower(line) ~ /^filename=/ { split(line, a, "="); print a[2]; exit }' "$TREE/Config.ini")
  convert "$TREE/Graphics/Skin/$file" -depth 8 txt:- |
    awk -F'[,:]' -v l="$sl" -v t="$st" '/FF  / { xs[n] = $1; ys[n] = $2; n++ } END { print l + xs[int(n/2)], t + ys[int(n/2)] }'
}

# ---- menus ------------------------------------------------------------------

# The program's mapped override-redirect window (a popup menu), or nothing.
popup_window() {
  local id
  for id in $(xdotool search --onlyvisible --class marsh-keeper 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && { echo "$id"; return 0; }
  done
  return 1
}

# Opens the popup at a screen point; leaves its id in POPUP, its box in
# px py pw ph and its picture in menu.png, and checks it appeared at the
# pointer.
open_popup() {
  xdotool mousemove "$1" "$2" click 3
  poll 5 popup_window >/dev/null || fail "no popup menu after a right click at $1,$2"
  POPUP=$(popup_window)
  read -r px py pw ph <<<"$(window_geometry "$POPUP")"
  [ $((px - $1)) -ge 0 ] && [ $((px - $1)) -le 3 ] && [ $((py - $2)) -ge 0 ] && [ $((py - $2)) -le 3 ] ||
    fail "popup menu at $px,$py for a right click at $1,$2"
  grab_settled menu "${pw}x${ph}+${px}+${py}"
}
# Clicks the n-th command of the open popup (separators not counted). The
# pointer rests on it a moment first, as a hand does, so the menu has taken
# the command as the current one before the click.
choose() {
  local y
  y=$(menu_text_row menu "$1")
  [ -n "$y" ] || fail "the popup has no command $1"
  xdotool mousemove "$((px + pw / 3))" "$((py + y))"
  sleep 0.2
  xdotool click 1
  poll 5 is_unmapped "$POPUP" || fail "the popup stays open after choosing command $1"
}

# The rows of a menu picture, top to bottom, one line each: "T y" for a row
# of text (y: its middle) and "S y" for a separator line. A text row is a
# band of dark pixels; a separator is a light grey line across nearly the
# whole width; the menu's own frame (two pixels at each edge) is left out.
menu_rows() {
  local width height
  read -r width height <<<"$(convert "$WORK/$1.png" -format '%w %h' info:)"
  convert "$WORK/$1.png" -colorspace gray -depth 8 txt:- | awk -v w="$width" -v h="$height" '
    NR > 1 {
      split($1, xy, /[,:]/); x = xy[1]; y = xy[2]
      if (x < 2 || x >= w - 2) next
      v = $0; sub(/.*gray\(/, "", v); sub(/[%)].*/, "", v); v += 0
      if (v < 128) dark[y]++
      if (v < 235) grey[y]++
    }
    END {
      gap = 99
      for (y = 2; y < h - 2; y++) {
        if (dark[y] + 0 == 0 && grey[y] + 0 > 0.9 * (w - 4)) { close_band(); print "S", y; continue }
        if (dark[y] + 0 > 0) {
          if (gap >= 3 && start != "") close_band()
          if (start == "") start = y
          last = y; gap = 0
        } else gap++
      }
      close_band()
    }
    function close_band() { if (start != "") print "T", int((start + last) / 2); start = "" }'
}
# The same as one word: "TTTTSTTTSTTST" for the program's popup menu.
menu_shape() { menu_rows "$1" | awk '{ printf "%s", $1 } END { print "" }'; }
# The middle of the n-th text row (1 = first), in the picture's pixels.
menu_text_row() { menu_rows "$1" | awk -v n="$2" '$1 == "T" && ++i == n { print $2 }'; }
