#!/usr/bin/env bash
# An installation into DESTDIR holds exactly the game and its desktop
# integration: the game's folder with the program and the project's data and
# nothing else (no build leftovers, no test files), a launcher, the desktop
# entry, icons at their true sizes, metainfo, man page and the package's
# documents, every one readable by all users, the program without RPATH, and
# entry and metainfo accepted by their validators.
# Usage: installed_tree_test.sh <build folder> <source folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$@"
mk_skip_without_program
mk_require_tools desktop-file-validate appstreamcli readelf identify man
mk_install

failures=0
check() {
  if ! "$@"; then failures=$((failures + 1)); fi
}
problem() {
  echo "FAIL: $*" >&2
  return 1
}

# The game's folder holds the program and what it loads: Config.ini beside it,
# the documents it opens, the picture and sound folders. Nothing more.
game_folder_has_exactly_the_game() {
  local top
  top=$(cd "$MK_TREE" && ls -A | LC_ALL=C sort | tr '\n' ' ')
  [ "$top" = "Config.ini Graphics Readme.txt Sound Whatsnew.txt marsh-keeper " ] ||
    problem "game folder holds: $top"
}

# Every data file is the project's own, byte for byte, and every file of the
# project's data folder is there: the tree is data/ plus the program.
game_folder_matches_the_data_folder() {
  local installed source
  installed=$(cd "$MK_TREE" && find . -type f ! -path ./marsh-keeper | LC_ALL=C sort)
  source=$(cd "$MK_SOURCE/data" && find . -type f ! -name '.*' | LC_ALL=C sort)
  [ "$installed" = "$source" ] ||
    problem "installed data differ from data/: $(diff <(echo "$source") <(echo "$installed") | grep '^[<>]' | head -5 | tr '\n' ' ')"
  local file
  while read -r file; do
    cmp -s "$MK_TREE/$file" "$MK_SOURCE/data/$file" || problem "$file differs from data/$file" || return 1
  done <<<"$installed"
}

# Only the kinds of files a skin and its documents are made of; anything else
# (objects, CMake files, logs, test scripts) is a leftover.
game_folder_has_no_leftovers() {
  local odd
  odd=$(cd "$MK_TREE" && find . -type f ! -path ./marsh-keeper \
    ! -iname '*.ini' ! -iname '*.txt' ! -iname '*.png' ! -iname '*.jpg' ! -iname '*.bmp' ! -iname '*.wav')
  [ -z "$odd" ] || problem "unexpected files in the game folder: $odd"
}

# Every picture Config.ini names is there, in the folder it names, spelt as
# written: an installation must not rely on the case-insensitive fallback.
config_names_only_installed_pictures() {
  local section="" dir key value missing=""
  declare -A dirs=()
  local -a wanted=()
  while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
      \;* | "") continue ;;
      \[*\]) section=${line#[}; section=${section%]} ;;
      *=*)
        key=${line%%=*}
        value=${line#*=}
        case $key in
          SkinDir | BackdropDir | ManualDir) dirs[$key]=${value//\\//} ;;
          # An empty file name is a slot without a picture of its own.
          Filename) [ -z "$value" ] || wanted+=("SkinDir:$value") ;;
          BackdropFile | LogoFile) wanted+=("BackdropDir:$value") ;;
        esac
        ;;
    esac
  done <"$MK_TREE/Config.ini"
  [ ${#wanted[@]} -gt 70 ] || problem "Config.ini names only ${#wanted[@]} pictures" || return 1
  local entry
  for entry in "${wanted[@]}"; do
    dir=${dirs[${entry%%:*}]:-}
    [ -f "$MK_TREE/$dir${entry#*:}" ] || missing+=" $dir${entry#*:}"
  done
  [ -n "${dirs[ManualDir]:-}" ] && [ -f "$MK_TREE/${dirs[ManualDir]}1.bmp" ] || missing+=" manual page 1"
  [ -z "$missing" ] || problem "named in Config.ini but not installed:$missing"
}

# Nothing else is installed besides the game's folder.
only_the_game_outside_its_folder() {
  local installed expected
  installed=$(cd "$MK_ROOT" && find . \( -type f -o -type l \) ! -path './lib/marsh-keeper/*' -printf '%P\n' | LC_ALL=C sort)
  expected=$(mk_expected_outside_tree | LC_ALL=C sort)
  [ "$installed" = "$expected" ] ||
    problem "installed outside the game folder differs: $(diff <(echo "$expected") <(echo "$installed") | grep '^[<>]' | tr '\n' ' ')"
}

# A copy shared by several users must be readable and runnable by all and
# writable by none but its owner.
modes_fit_a_shared_installation() {
  local wrong
  wrong=$(cd "$MK_ROOT" && find . -mindepth 1 \
    \( -type d ! -perm 755 -o -type f -path ./bin/marsh-keeper ! -perm 755 \
    -o -type f -path ./lib/marsh-keeper/marsh-keeper ! -perm 755 \
    -o -type f ! -path ./bin/marsh-keeper ! -path ./lib/marsh-keeper/marsh-keeper ! -perm 644 \) \
    -printf '%m %P\n')
  [ -z "$wrong" ] || problem "wrong modes: $wrong"
}

# The installed program finds its libraries in the system's folders, never in
# the build folder it came from.
program_has_no_rpath() {
  local dynamic
  dynamic=$(readelf -d "$MK_TREE/marsh-keeper")
  ! grep -qE 'RPATH|RUNPATH' <<<"$dynamic" || problem "the program keeps a search path: $(grep -E 'RPATH|RUNPATH' <<<"$dynamic")"
}

desktop_entry_is_valid_and_complete() {
  local entry=$MK_ROOT/share/applications/marsh-keeper.desktop
  desktop-file-validate "$entry" || problem "desktop-file-validate rejects the entry" || return 1
  grep -qx 'Name=Marsh Keeper' "$entry" || problem "entry's name is not Marsh Keeper" || return 1
  grep -qE '^Categories=(.*;)?Game;' "$entry" || problem "entry is not in the Game category" || return 1
  grep -qx 'Exec=marsh-keeper' "$entry" || problem "entry does not start the launcher" || return 1
  local icon
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$MK_ROOT/share/icons/hicolor/48x48/apps/$icon.png" ] || problem "entry's icon $icon is not installed at 48x48"
}

metainfo_is_valid_and_points_at_the_entry() {
  local metainfo=$MK_ROOT/share/metainfo/$MK_METAINFO_ID.metainfo.xml
  appstreamcli validate --no-net --no-color "$metainfo" >"$MK_TMP/appstream.log" 2>&1 ||
    { cat "$MK_TMP/appstream.log" >&2; problem "appstreamcli rejects the metainfo"; return 1; }
  grep -q "<id>$MK_METAINFO_ID</id>" "$metainfo" || problem "metainfo's id is not its file name" || return 1
  grep -q '<launchable type="desktop-id">marsh-keeper.desktop</launchable>' "$metainfo" ||
    problem "metainfo does not launch the installed entry" || return 1
  grep -q '<screenshot type="default">' "$metainfo" || problem "metainfo has no screenshot" || return 1
  # The pictures the screenshot addresses point at are kept in the sources, to
  # be published there, at the size the metainfo announces.
  local image name width height
  image=$(grep -o '<image [^>]*>[^<]*</image>' "$metainfo" | head -1)
  name=$(sed 's|.*/\([^/<]*\)</image>|\1|' <<<"$image")
  width=$(sed -n 's/.*width="\([0-9]*\)".*/\1/p' <<<"$image")
  height=$(sed -n 's/.*height="\([0-9]*\)".*/\1/p' <<<"$image")
  [ -f "$MK_SOURCE/install/screenshots/$name" ] || problem "no install/screenshots/$name for the metainfo's screenshot" || return 1
  [ "$(identify -format '%wx%h' "$MK_SOURCE/install/screenshots/$name")" = "${width}x${height}" ] ||
    problem "the screenshot $name is not ${width}x${height}"
}

# Each icon is as large as the theme folder it sits in says.
icons_have_their_folders_sizes() {
  local icon folder size
  for icon in "$MK_ROOT"/share/icons/hicolor/*/apps/marsh-keeper.png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    size=$(identify -format '%wx%h' "$icon")
    [ "$size" = "$folder" ] || problem "icon in $folder is $size" || return 1
  done
  [ -f "$MK_ROOT/share/icons/hicolor/256x256/apps/marsh-keeper.png" ] || problem "no 256x256 icon for software centres"
}

man_page_renders_cleanly() {
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$MK_ROOT/share/man/man6/marsh-keeper.6.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || problem "man page warnings: $warnings"
}

# A launcher whose game folder is gone says so and fails, instead of running
# whatever program of that name the current directory holds.
launcher_refuses_a_missing_game_folder() {
  local lonely=$MK_TMP/lonely
  mkdir -p "$lonely/bin" "$lonely/cwd"
  cp "$MK_ROOT/bin/marsh-keeper" "$lonely/bin/"
  printf '#!/bin/sh\necho impostor\n' >"$lonely/cwd/marsh-keeper"
  chmod +x "$lonely/cwd/marsh-keeper"
  local output status=0
  output=$(cd "$lonely/cwd" && "$lonely/bin/marsh-keeper" 2>&1) || status=$?
  [ $status -ne 0 ] || problem "launcher without a game folder succeeded" || return 1
  ! grep -q impostor <<<"$output" || problem "launcher ran the program of the current directory" || return 1
  grep -q "reinstall" <<<"$output" || problem "launcher's message does not say what to do: $output"
}

check game_folder_has_exactly_the_game
check game_folder_matches_the_data_folder
check game_folder_has_no_leftovers
check config_names_only_installed_pictures
check only_the_game_outside_its_folder
check modes_fit_a_shared_installation
check program_has_no_rpath
check desktop_entry_is_valid_and_complete
check metainfo_is_valid_and_points_at_the_entry
check icons_have_their_folders_sizes
check man_page_renders_cleanly
check launcher_refuses_a_missing_game_folder

[ $failures -eq 0 ] || mk_fail "$failures checks failed"
echo "PASS: the installation holds exactly the game"
