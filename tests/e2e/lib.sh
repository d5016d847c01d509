# Shared steps of the real-display tests: a private X server, a fresh
# settings folder, a private copy of the runnable tree, and the game driven
# with xdotool like a person. Source it with the build folder as $1.
set -euo pipefail

BUILD_DIR=$(cd "${1:?build folder}" && pwd)
TREE_SOURCE="$BUILD_DIR/game"
WORK=$(mktemp -d /tmp/mk-e2e.XXXXXX)
export XDG_CONFIG_HOME="$WORK/config"
export XDG_RUNTIME_DIR="$WORK/runtime"
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS="$XDG_CONFIG_HOME/Tamarisk/MarshKpr50.conf"
GAME_PID=""
XVFB_PID=""
SCREEN_W=1280
SCREEN_H=1024

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then import -window root "$BUILD_DIR/e2e-failure-$(basename "$0" .sh).png" 2>/dev/null || true; fi
  exit 1
}

start_x() {
  local n
  for n in $(seq 80 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && { xsetroot -solid "#00ff00"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    XVFB_PID=""
  done
  fail "no X server could be started"
}

# A copy of the runnable tree: the program itself is copied, since Config.ini
# is looked for beside the real executable; the folders are linked.
make_tree() {
  TREE="$WORK/game"
  mkdir -p "$TREE"
  cp "$TREE_SOURCE/marsh-keeper" "$TREE/"
  cp "$TREE_SOURCE/Config.ini" "$TREE/"
  local item
  for item in Graphics Sound Readme.txt Whatsnew.txt; do ln -s "$TREE_SOURCE/$item" "$TREE/$item"; done
}

write_settings() {
  mkdir -p "$(dirname "$SETTINGS")"
  { echo "[General]"; printf '%s\n' "$@"; } >"$SETTINGS"
}

start_game() {
  (cd "$TREE" && exec ./marsh-keeper) >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
}

# Waits for a window whose title matches; prints its id.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window named '$1'"
}

wait_exit() {
  for _ in $(seq "${2:-100}"); do
    kill -0 "$GAME_PID" 2>/dev/null || { wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""; return 0; }
    sleep 0.1
  done
  fail "$1"
}

setting() { grep -E "^$1=" "$SETTINGS" 2>/dev/null | head -1 | cut -d= -f2- || true; }

expect_setting() {
  local got
  got=$(setting "$1")
  [ "$got" = "$2" ] || fail "setting $1 is '$got', expected '$2'"
}

# Names of the values in the store, sorted, one line.
setting_names() { grep -E '^[A-Za-z0-9]+=' "$SETTINGS" | cut -d= -f1 | sort | tr '\n' ' '; }

pixel() { convert "$WORK/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
shot() { import -window root "$WORK/shot.png"; }

# The main window's geometry "x y w h".
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

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

echo_pass() { echo "PASS: $(basename "$0" .sh)"; }

# A screen point inside a slot's picture where the picture is opaque: the
# middle one of its opaque pixels. Prints "x y" in client coordinates.
slot_point() {
  local box file
  read -r sl st _ _ <<<"$(slot_box "$1")"
  file=$(awk -v want="[image$1]" '
    { line=$0; sub(/\r$/, "", line) }
    tolower(line) ~ /^\[/ { in_slot = (tolower(line) == want) }
    in_slot && tolower(line) ~ /^filename=/ { split(line, a, "="); print a[2]; exit }' "$TREE/Config.ini")
  convert "$TREE/Graphics/Skin/$file" -depth 8 txt:- |
    awk -F'[,:]' -v l="$sl" -v t="$st" '/FF  / { xs[n] = $1; ys[n] = $2; n++ } END { print l + xs[int(n/2)], t + ys[int(n/2)] }'
}
