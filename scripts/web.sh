#!/usr/bin/env bash
# Klimora for browsers: builds the calculation with emscripten, runs its suite
# under Node, puts the page together in build/web/site/, checks it against the
# oldest browsers it supports, tests it in Chromium, Firefox and WebKit served
# by nginx, and runs its benchmark once. Prints the site's folder last.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

# Node comes from Debian only where the machine has none of its own: Debian's
# npm conflicts with a Node installed otherwise.
node_packages=()
command -v node >/dev/null || node_packages=(nodejs npm)
# xvfb-run needs xauth, which xvfb only recommends. The benchmark drives
# WebKitGTK itself too, through GObject introspection.
ensure_packages cmake ninja-build emscripten googletest python3 zopfli locales xvfb xauth nginx \
    chromium firefox-esr webkit2gtk-driver poppler-utils python3-gi gir1.2-webkit2-4.1 "${node_packages[@]}"
npm ci --no-audit --no-fund --loglevel=error

build=build/web
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKLIMORA_BUILD_GUI=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure
node scripts/check_browser_support.mjs

# WebKit's MiniBrowser takes the page's language from its locale: the tests'
# languages, compiled here, where the browsers look for them.
export LOCPATH=$PWD/$build/locales
mkdir -p "$LOCPATH"
for locale in es_ES en_US es_MX ar_EG; do
    [ -d "$LOCPATH/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8"
done
engines=$(node --input-type=module -e "console.log((await import('./tests/web/browsers.mjs')).engines.join(' '))")
for engine in $engines; do
    started=$(date +%s)
    KLIMORA_SITE=$build/site KLIMORA_BROWSER=$engine xvfb-run -a node --test tests/web/page_test.mjs
    echo "The page's tests in $engine: $(($(date +%s) - started)) s"
done

# Once, so that it cannot rot unseen; its figures mean little on a busy machine.
# Lighthouse's trace engine asks for two packages as "latest", which moves
# with every release and then no longer matches the lock: the lock names the
# versions it holds in their place.
(cd bench/web && npm ci --no-audit --no-fund --loglevel=error)
xvfb-run -a node bench/web/measure.mjs "$build/site"
realpath "$build/site"
