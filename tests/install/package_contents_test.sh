#!/usr/bin/env bash
# Builds the Debian package as `make package` does and checks what a user
# installing it gets: exactly the installation's files (the launcher in
# /usr/games, as Debian keeps games), owned by root with the usual modes, a
# stripped program without RPATH, checksums of every file, reproducibly
# compressed documents, and dependencies on run-time libraries only, the ones
# the program needs among them. Leaves the package in <out folder> for the
# lintian and start-up tests.
# Usage: package_contents_test.sh <build folder> <source folder> <out folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$1" "$2"
out=$3
rm -rf "$out"
mk_skip_without_program
mk_require_tools cpack dpkg-deb readelf file

mkdir -p "$MK_TMP/cpack"
# CPack writes its staging folder into -B and the package into ./package.
(cd "$MK_TMP/cpack" && cpack -G DEB --config "$MK_BUILD/CPackConfig.cmake" -B "$MK_TMP/cpack" >"$MK_TMP/cpack.log" 2>&1) ||
  { cat "$MK_TMP/cpack.log" >&2; mk_fail "cpack failed"; }
debs=("$MK_TMP"/cpack/package/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || mk_fail "cpack made no single package: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
arch=$(field Architecture)
[ "$(basename "$deb")" = "${MK_PACKAGE_NAME}_${version}_${arch}.deb" ] ||
  mk_fail "package file $(basename "$deb") is not named after its control fields"
[ "$arch" = "$(dpkg --print-architecture)" ] || mk_fail "package is for $arch"
[ "$(field Package)" = "$MK_PACKAGE_NAME" ] || mk_fail "package name is $(field Package)"
[ "$(field Section)" = games ] || mk_fail "section is $(field Section)"

# Run-time libraries only: nothing for building against the libraries, and the
# program's own needs (the Qt widgets, Qt's GUI library that carries the X11
# platform plugin, libpng, libjpeg-turbo, and SDL, which the program loads
# only when it plays or takes the game controllers, so no tool finds it).
depends=$(field Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/^ *//; s/ *$//' | grep -v '^$')
! grep -qE -- '-(dev|dbg|doc)$' <<<"$names" || mk_fail "the package depends on a development package: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libpng16-16 libjpeg62-turbo libc6; do
  grep -qx "$needed" <<<"$names" || mk_fail "the package does not depend on $needed: $depends"
done
# The functions the program loads from SDL are all there from 2.24 on.
grep -qE '(^|, )libsdl2-2\.0-0 \(>= 2\.24' <<<"$depends" || mk_fail "the package takes an SDL older than 2.24: $depends"
! grep -q mixer <<<"$names" || mk_fail "the package still depends on SDL2_mixer: $depends"
[ "$(dpkg -S /usr/lib/"$(dpkg-architecture -qDEB_HOST_MULTIARCH)"/qt6/plugins/platforms/libqxcb.so | cut -d: -f1)" = libqt6gui6 ] ||
  mk_fail "the X11 platform plugin is no longer in libqt6gui6: the package must depend on its new home"
grep -q xdg-utils <<<"$(field Recommends)" || mk_fail "the package does not recommend xdg-utils, which opens the documents"

# The newest changelog entry is this version's.
mkdir -p "$MK_TMP/root"
dpkg-deb -x "$deb" "$MK_TMP/root"
root=$MK_TMP/root/usr
changelog_version=$(zcat "$root/share/doc/marsh-keeper/changelog.Debian.gz" | sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || mk_fail "the changelog's newest entry is $changelog_version, the package $version"
# The metainfo's newest release and the man page name the same version.
upstream=${version%-*}
grep -q "<release version=\"$upstream\"" "$root/share/metainfo/$MK_METAINFO_ID.metainfo.xml" ||
  mk_fail "the metainfo's release is not $upstream"
grep -q "^\.TH .* \"Marsh Keeper $upstream\"" <<<"$(zcat "$root/share/man/man6/marsh-keeper.6.gz")" ||
  mk_fail "the man page is not of version $upstream"
grep -q '@' <<<"$(field Maintainer)" && ! grep -q 'localhost' <<<"$(field Maintainer)" ||
  mk_fail "maintainer address is not usable: $(field Maintainer)"
summary=$(field Description | head -1)
[ ${#summary} -le 80 ] || mk_fail "the description's summary is longer than 80 characters"
! grep -q '&[a-z]*;' <<<"$(field Description)" || mk_fail "the description carries escaped characters: $(field Description)"

# Exactly the installation's files.
listing=$(dpkg-deb -c "$deb")
! grep -vq ' root/root ' <<<"$listing" || mk_fail "files not owned by root: $(grep -v ' root/root ' <<<"$listing" | head -3)"
files=$(cd "$root" && find . \( -type f -o -type l \) ! -path './lib/marsh-keeper/*' -printf '%P\n' | LC_ALL=C sort)
expected=$({
  mk_expected_outside_tree | sed 's|^bin/|games/|'
  echo "share/lintian/overrides/marsh-keeper"
} | LC_ALL=C sort)
[ "$files" = "$expected" ] ||
  mk_fail "packaged files differ: $(diff <(echo "$expected") <(echo "$files") | grep '^[<>]' | tr '\n' ' ')"
tree=$(cd "$root/lib/marsh-keeper" && find . -type f ! -path ./marsh-keeper | LC_ALL=C sort)
data=$(cd "$MK_SOURCE/data" && find . -type f ! -name '.*' | LC_ALL=C sort)
[ "$tree" = "$data" ] || mk_fail "the packaged game folder differs from data/"
wrong=$(cd "$MK_TMP/root" && find . -mindepth 1 \( -type d ! -perm 755 -o -type f -perm /111 ! -perm 755 \
  -o -type f ! -perm /111 ! -perm 644 \) -printf '%m %P\n')
[ -z "$wrong" ] || mk_fail "wrong modes: $wrong"
executables=$(cd "$root" && find . -type f -perm /111 -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$executables" = "games/marsh-keeper lib/marsh-keeper/marsh-keeper " ] || mk_fail "executable files: $executables"

# Checksums for every file, as dpkg --verify expects.
dpkg-deb --ctrl-tarfile "$deb" | tar -x -C "$MK_TMP" ./md5sums
[ "$(wc -l <"$MK_TMP/md5sums")" -eq "$(cd "$MK_TMP/root" && find . -type f | wc -l)" ] ||
  mk_fail "md5sums does not list every file"
(cd "$MK_TMP/root" && md5sum --quiet -c "$MK_TMP/md5sums") || mk_fail "md5sums does not match the files"

# The program: stripped of symbols and compiler notes, no search path, bound
# at start.
program=$root/lib/marsh-keeper/marsh-keeper
# (Every check reads a whole output first: with pipefail, a grep that stops
# early would make its pipeline fail whatever it found.)
grep -q ', stripped' <<<"$(file -b "$program")" || mk_fail "the packaged program is not stripped: $(file -b "$program")"
! grep -qE '\.comment|\.debug_' <<<"$(readelf -S "$program")" || mk_fail "the packaged program keeps .comment or debug sections"
dynamic=$(readelf -d "$program")
! grep -qE 'RPATH|RUNPATH' <<<"$dynamic" || mk_fail "the packaged program keeps a library search path"
grep -q 'BIND_NOW' <<<"$dynamic" || mk_fail "the packaged program is not linked with -z now"

# gzip headers without a file name or time stamp (gzip -9n): the same package
# whenever it is built.
for gz in "$root/share/doc/marsh-keeper/changelog.Debian.gz" "$root/share/man/man6/marsh-keeper.6.gz"; do
  header=$(od -An -tx1 -N10 "$gz" | tr -d ' \n')
  [ "${header:6:10}" = "0000000000" ] || mk_fail "$(basename "$gz") carries a name or time stamp: $header"
  [ "${header:16:2}" = "02" ] || mk_fail "$(basename "$gz") is not compressed at the best level"
done

mkdir -p "$out"
cp "$deb" "$out/"
echo "PASS: the package holds exactly the game and depends on run-time libraries only"
