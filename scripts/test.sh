#!/usr/bin/env bash
# Builds Klimora with every test suite and runs them all: the plain build, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz
# targets for a bounded time, and static analysis. Windows has windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

# Node comes from Debian only where the machine has none of its own: Debian's
# npm conflicts with a Node installed otherwise.
node_packages=()
command -v node >/dev/null || node_packages=(nodejs npm)
ensure_packages "${build_packages[@]}" libgtest-dev libbenchmark-dev locales \
    desktop-file-utils appstream dpkg-dev file lintian disorderfs clang libclang-rt-14-dev clang-tidy clazy cppcheck \
    clang-format shellcheck qt6-translations-l10n "${node_packages[@]}" \
    xvfb openbox xdotool wmctrl dbus-daemon at-spi2-core python3-pyatspi \
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
jobs=$(nproc)

echo "== Tests"
# Built as the package is, so that lintian judges what users get.
(export_debian_build_flags && cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKLIMORA_SANITIZE=ON -DKLIMORA_BUILD_BENCHMARKS=OFF
cmake --build build/asan
ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== Fuzzing"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKLIMORA_BUILD_GUI=OFF -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF \
    -DKLIMORA_BUILD_FUZZERS=ON -DKLIMORA_SANITIZE=ON -DKLIMORA_FUZZ_SECONDS=60
cmake --build build/fuzz
ctest --test-dir build/fuzz --output-on-failure -j "$jobs"

echo "== Style and static analysis"
npm ci --no-audit --no-fund --loglevel=error
bash scripts/lint.sh build/test
