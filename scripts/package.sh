#!/usr/bin/env bash
# Builds Klimora's Debian package alone, hardened and stripped as Debian
# builds its own, with no tests. Prints the package's path last, and nothing
# else on standard output: the build's own output goes to standard error.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${build_packages[@]}" dpkg-dev file
build=build/package
export_debian_build_flags
export_source_date_epoch
# Archive members keep their modes: the builder's umask must not decide them.
umask 022
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF >&2
build_for_this_commit "$build"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
realpath "$build"/*.deb
