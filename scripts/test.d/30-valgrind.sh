#!/usr/bin/env bash
# The Qt program under valgrind's memcheck: started, played through its real menus and mouse on
# Qt's offscreen platform and ended from its menu (tests/stress/qt_lifetime.cpp), with no memory
# error and no block definitely lost. Uses the build of the normal test run (build/dev), or the
# one named by FNORK_VALGRIND_BUILD.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev valgrind
build=${FNORK_VALGRIND_BUILD:-build/dev}
if [ "$build" = build/dev ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target qt_lifetime
export QT_QPA_PLATFORM=offscreen
# Still-reachable and possibly-lost blocks belong to Qt's and fontconfig's caches that live until
# the process ends; only errors and definitely lost blocks fail the run.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
valgrind --tool=memcheck --error-exitcode=3 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=40 \
  "$build/tests/stress/qt_lifetime" >"$log" 2>&1 || status=$?
grep -v 'This plugin does not support raise()' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "valgrind: the Qt program failed its play, or memcheck found errors or leaks (status $status)"
  exit 1
fi
