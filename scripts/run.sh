#!/usr/bin/env bash
# Builds Klimora and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${build_packages[@]}"
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF
cmake --build build/run
exec build/run/app/klimora "$@"
