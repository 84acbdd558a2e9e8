#!/usr/bin/env bash
# The browser version: built with emscripten into build/web (scripts/web.sh) and tested in headless
# Chromium, driven by playwright-core from Node (tests/web/).
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/deps.sh
ensure_packages chromium
# A machine may carry a Node with its own npm; a plain Debian 12 has neither.
command -v npm >/dev/null || ensure_packages nodejs npm
bash scripts/web.sh --build
cd tests/web
npm ci --no-audit --no-fund --loglevel=error
node --test .
