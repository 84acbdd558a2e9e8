#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev --target FnorkTillFnork
exec build/dev/FnorkTillFnork
