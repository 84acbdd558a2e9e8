#!/usr/bin/env bash
# The Qt windows under valgrind's memcheck: the window tests (tests/window/) on Qt's offscreen
# platform, which open every picture through the real menus, play it to its end with the mouse,
# start it over, close and reopen it and end the program from its menu, with no memory error and
# no block definitely lost. Uses the build of the normal test run (build/dev), or the
# one named by FNORK_VALGRIND_BUILD.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev valgrind
build=${FNORK_VALGRIND_BUILD:-build/dev}
if [ "$build" = build/dev ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target qt_tests
export QT_QPA_PLATFORM=offscreen
# Still-reachable and possibly-lost blocks belong to Qt's and fontconfig's caches that live until
# the process ends; only errors and definitely lost blocks fail the run. tests/valgrind.supp
# names the two reports that are Qt's own and come and go with timing and heap layout: a worker
# thread's block shown as lost, and the whole-vector load of Qt's string hash.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
valgrind --tool=memcheck --error-exitcode=3 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=40 --suppressions=tests/valgrind.supp \
  "$build/tests/qt/qt_tests" --gtest_filter='Windows.*:QtWindows.*' >"$log" 2>&1 || status=$?
grep -v 'This plugin does not support raise()' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "valgrind: the Qt window tests failed, or memcheck found errors or leaks (status $status)"
  exit 1
fi
