#!/usr/bin/env bash
# Builds Klimora with every test suite and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${build_packages[@]}" libgtest-dev libbenchmark-dev locales \
    desktop-file-utils appstream dpkg-dev
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
