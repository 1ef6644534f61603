#!/usr/bin/env bash
# Klimora for browsers: builds the calculation with emscripten, runs its suite
# under Node, puts the page together in build/web/site/ and tests it in
# Debian's Chromium. Prints the site's folder last.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

# Node comes from Debian only where the machine has none of its own: Debian's
# npm conflicts with a Node installed otherwise.
node_packages=()
command -v node >/dev/null || node_packages=(nodejs npm)
ensure_packages cmake ninja-build emscripten googletest python3 chromium "${node_packages[@]}"
npm ci --no-audit --no-fund --loglevel=error

build=build/web
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKLIMORA_BUILD_GUI=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure
KLIMORA_SITE="$build/site" node --test tests/web_page_test.mjs
realpath "$build/site"
