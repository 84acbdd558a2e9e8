#!/usr/bin/env bash
# Builds the browser version into build/web/ and serves it on http://localhost:8000/;
# with --build, only builds it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
ensure_packages cmake ninja-build emscripten librsvg2-bin python3-fonttools fonts-comic-neue \
  fonts-dejavu-core python3
# Debian's emcc runs on Debian's node modules and python.
export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
emcmake cmake -S . -B build/web-build -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DFNORK_TESTS=OFF \
  -DFNORK_WEB_SITE="$PWD/build/web" >/dev/null
cmake --build build/web-build
if [ "${1:-}" = --build ]; then
  exit 0
fi
echo "Fnork till fnork: http://localhost:8000/ (Ctrl+C ends)"
exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build/web
