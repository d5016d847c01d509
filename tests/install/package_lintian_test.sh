#!/usr/bin/env bash
# lintian finds neither errors nor warnings in the package. The remarks that
# do not apply are overridden, with the reason, in the package itself
# (install/lintian-overrides); info and pedantic remarks are printed for the
# record but do not fail the test.
# Usage: package_lintian_test.sh <build folder> <source folder> <package folder>

source "$(dirname "$0")/lib.sh"
mk_setup "$1" "$2"
mk_require_tools lintian
debs=("$3"/*.deb)
[ -f "${debs[0]}" ] || { echo "SKIP: no package was built"; exit "$MK_SKIP"; }

# lintian runs as root too, but says it would rather not on every run.
status=0
report=$(lintian --fail-on error,warning --info --pedantic --no-tag-display-limit "${debs[0]}" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ $status -eq 0 ] || mk_fail "lintian reports errors or warnings, or could not check the package (status $status)"
echo "PASS: lintian accepts the package"
