#!/usr/bin/env bash
# Builds the benchmark as the program is built for playing (RelWithDebInfo, build/bench) and runs
# it. Arguments go to the benchmark: --runs N (launches per start-up figure), --moves N.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFNORK_TESTS=OFF >/dev/null
cmake --build build/bench --target fnork_bench
echo "== $(uname -srm); $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), \
$(nproc) cores; Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)"
exec build/bench/bench/fnork_bench "$@"
