#!/usr/bin/env bash
# The Windows program: FnorkTillFnork.exe cross-compiled with mingw-w64 (the `windows` preset),
# its tests run under wine on a virtual display, and the program file checked from Linux.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/deps.sh
# xauth is only a recommendation of xvfb, but xvfb-run needs it; googletest brings the sources
# that the cross build compiles GoogleTest from.
ensure_packages cmake ninja-build g++-mingw-w64-x86-64-win32 wine wine64 xvfb xauth fonts-wine \
  python3-pefile googletest

# A wine prefix of this run's own, made before the tests start and removed at the end; no debugger
# waits on a program that crashes.
work=$(mktemp -d /tmp/fnork-wine.XXXXXX)
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cmake/wine-run.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
ls -l build/windows/FnorkTillFnork.exe

# The windows need a display; wine's own server ends before the display does.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  'status=0; ctest --preset windows -j "$(nproc)" || status=$?; wineserver -k || true; exit $status'
