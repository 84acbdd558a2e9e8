#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev librsvg2-bin python3-pil
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Build and test"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs"

# Further parts of the suite (the Windows program under wine, valgrind, installation), in order.
for part in scripts/test.d/*.sh; do
  [ -e "$part" ] || continue
  echo "== $(basename "$part" .sh)"
  bash "$part"
done
