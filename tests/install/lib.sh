# Shared by the installation tests: a DESTDIR installation of the build, the
# files it must hold, an X server of the test's own, and the installed game
# started the way a user starts it. Sourced by the test scripts, which call
# mk_setup first.

set -euo pipefail

MK_SKIP=77
MK_PACKAGE_NAME=marsh-keeper
MK_METAINFO_ID=org.example.MarshKeeper

mk_setup() {
  MK_BUILD=$(readlink -f "$1")
  MK_SOURCE=$(readlink -f "$2")
  MK_TMP=$(mktemp -d "${TMPDIR:-/tmp}/mk-install-test.XXXXXX")
  # Readable by the second user of the shared-installation test.
  chmod 755 "$MK_TMP"
  MK_PIDS=()
  trap mk_cleanup EXIT
}

mk_cleanup() {
  local status=$?
  local pid
  for pid in "${MK_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${MK_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$MK_TMP"
  exit "$status"
}

mk_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

mk_skip_without_program() {
  if [ ! -x "$MK_BUILD/game/marsh-keeper" ]; then
    echo "SKIP: $MK_BUILD/game/marsh-keeper is not built"
    exit "$MK_SKIP"
  fi
}

mk_require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit "$MK_SKIP"; }
  done
}

# Installs the build as a distribution would: prefix /usr inside DESTDIR.
# Sets MK_DESTDIR, MK_ROOT (DESTDIR + prefix) and MK_TREE (the game's folder).
mk_install() {
  MK_DESTDIR=$MK_TMP/destdir
  DESTDIR=$MK_DESTDIR cmake --install "$MK_BUILD" --prefix /usr >"$MK_TMP/install.log" 2>&1 ||
    { cat "$MK_TMP/install.log" >&2; mk_fail "cmake --install failed"; }
  MK_ROOT=$MK_DESTDIR/usr
  MK_TREE=$MK_ROOT/lib/marsh-keeper
  [ -d "$MK_TREE" ] || mk_fail "no game folder at $MK_TREE"
}

# Every path below $1 with its kind, size, modification time and mode: two
# listings differ exactly when something was created, removed or written.
mk_tree_listing() {
  (cd "$1" && find . -printf '%P\t%y\t%s\t%T@\t%m\n' | LC_ALL=C sort)
}

# The files the installation holds besides the game's folder, for the icons
# present in the sources.
mk_expected_outside_tree() {
  local icon size
  echo "bin/marsh-keeper"
  echo "share/applications/marsh-keeper.desktop"
  echo "share/metainfo/$MK_METAINFO_ID.metainfo.xml"
  echo "share/man/man6/marsh-keeper.6.gz"
  echo "share/doc/marsh-keeper/copyright"
  echo "share/doc/marsh-keeper/changelog.Debian.gz"
  for icon in "$MK_SOURCE"/ui/art/icons/marsh-keeper-*.png; do
    size=${icon##*-}
    size=${size%.png}
    echo "share/icons/hicolor/${size}x${size}/apps/marsh-keeper.png"
  done
  if [ -e "$MK_SOURCE/ui/art/icons/marsh-keeper.svg" ]; then
    echo "share/icons/hicolor/scalable/apps/marsh-keeper.svg"
  fi
}

# Starts an X server of the test's own on a display it picks itself, so that
# tests of other build folders running at the same time never collide.
# Sets DISPLAY.
mk_start_x() {
  local fifo=$MK_TMP/displayfd
  mkfifo "$fifo"
  # -ac: the second user of the shared-installation test may connect too.
  # -br: a black root window, the colour a see-through pixel must show.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -br -nolisten tcp 3>"$fifo" >"$MK_TMP/xvfb.log" 2>&1 &
  MK_PIDS+=($!)
  local number
  read -r -t 20 number <"$fifo" || { cat "$MK_TMP/xvfb.log" >&2; mk_fail "Xvfb did not start"; }
  export DISPLAY=:$number
}

# A fresh per-user configuration that skips the start-up dialog (a sound
# output is chosen and the dialog switched off) and keeps the window mode.
# $1: the settings file; further arguments: extra "Name=value" lines.
mk_preseed_settings() {
  local file=$1
  shift
  mkdir -p "$(dirname "$file")"
  {
    echo "[General]"
    echo "SoundMode=2"
    echo "SplashScreen=0"
    echo "FullscreenMode=0"
    local line
    for line in "$@"; do echo "$line"; done
  } >"$file"
}

# The value of one setting in a QSettings INI file, empty when absent.
mk_setting() {
  sed -n "s/^$2=//p" "$1" | tr -d '\r"'
}

# Whether process $1 runs (an ended child stays a zombie until waited for,
# and kill -0 still reaches a zombie).
mk_alive() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  case $state in Z*) return 1 ;; esac
}

# Waits until process $1 shows a mapped window of $2 (WIDTHxHEIGHT) and
# prints its id, position and size as "id x y width height".
mk_wait_for_window() {
  local pid=$1 size=$2 deadline=$((SECONDS + 20)) id geometry
  while [ $SECONDS -lt $deadline ]; do
    mk_alive "$pid" || mk_fail "the game (pid $pid) ended before showing its window"
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
      local X Y WIDTH HEIGHT
      eval "$(echo "$geometry" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
      if [ "${WIDTH}x${HEIGHT}" = "$size" ]; then
        echo "$id $X $Y $WIDTH $HEIGHT"
        return 0
      fi
    done
    sleep 0.2
  done
  echo "windows of pid $pid:" >&2
  for id in $(xdotool search --pid "$pid" 2>/dev/null || true); do
    xdotool getwindowgeometry "$id" >&2 || true
  done
  mk_fail "no $size window of the game appeared within 20 s"
}

# "r g b" of pixel ($2, $3) of picture $1, flattened on black.
mk_pixel() {
  convert "$1" -background black -flatten -format "%[fx:round(255*p{$2,$3}.r)] %[fx:round(255*p{$2,$3}.g)] %[fx:round(255*p{$2,$3}.b)]" info:
}

# Whether two "r g b" colours differ by at most $3 in every channel.
mk_close_colours() {
  local -a a=($1) b=($2)
  local i d
  for i in 0 1 2; do
    d=$((a[i] - b[i]))
    [ ${d#-} -le "$3" ] || return 1
  done
}

# Waits up to $2 seconds for process $1 to end; fails when it does not.
mk_wait_for_exit() {
  local pid=$1 deadline=$((SECONDS + $2))
  while mk_alive "$pid"; do
    [ $SECONDS -lt $deadline ] || mk_fail "the game (pid $pid) did not quit within $2 s"
    sleep 0.1
  done
  wait "$pid" 2>/dev/null || true
}
