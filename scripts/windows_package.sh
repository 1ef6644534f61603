#!/usr/bin/env bash
# Builds Klimora for Windows with MinGW-w64 and the Qt that windows_qt.sh
# keeps, and packs what a Windows user downloads: the portable zip and the
# installer. Prints the paths of the stripped Klimora.exe, the zip and the
# installer last, in that order; the same commit gives the same bytes.
# Usage: windows_package.sh [BUILD_DIR [CMAKE_OPTION...]]   (build/windows)
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

build=${1:-build/windows}
shift || true
export_source_date_epoch
qt=$(bash scripts/windows_qt.sh)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_BINDIR=. "$@" >/dev/null
cmake --build "$build"

# The folder the zip and the installer hold, for the tests to compare with.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
folder=$build/stage/Klimora-$version
rm -rf "$build/stage" "$build"/Klimora-*-portable.zip "$build"/Klimora-*-setup.exe
cmake --install "$build" --prefix "$folder" --strip >/dev/null
(cd "$build" && cpack >/dev/null)
realpath "$folder/Klimora.exe" "$build/Klimora-$version-portable.zip" \
    "$build/Klimora-$version-setup.exe"
