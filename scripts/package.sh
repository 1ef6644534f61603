#!/usr/bin/env bash
# Builds Klimora's Debian package alone, hardened and stripped as Debian
# builds its own, with no tests. Prints the package's path last.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${build_packages[@]}" dpkg-dev file
build=build/package
export_debian_build_flags
export_source_date_epoch
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF
cmake --build "$build"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
realpath "$build"/*.deb
