#!/usr/bin/env bash
# Klimora for Windows: builds Qt for Windows (once per machine), then the
# program with MinGW-w64, runs the calculation's tests under Wine, makes the
# installer and the portable zip, and uses the installed program under Wine
# as a person would. Prints the installer's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/windows_qt.sh

ensure_packages build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev \
    g++-mingw-w64-x86-64-posix googletest nsis zip wine wine64 fonts-wine \
    xvfb openbox xdotool imagemagick tesseract-ocr python3
qt=$(build_windows_qt | tail -n 1)

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_BINDIR=. >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure

# The folder a user gets, zipped as it is and wrapped in the installer.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage="$PWD/$build/stage"
folder="$stage/Klimora-$version"
rm -rf "$stage"
cmake --install "$build" --prefix "$folder" --strip >/dev/null
(cd "$stage" && zip -qrX "../Klimora-$version-portable.zip" "Klimora-$version")

# The installer's file lists: it removes exactly what it put there.
windows_path() { local path=${1//\//\\}; echo "\$INSTDIR${path:+\\$path}"; }
while read -r file; do
    dir=$(dirname "$file")
    echo "SetOutPath \"$(windows_path "${dir#.}")\""
    echo "File \"$folder/$file\""
    echo "Delete \"$(windows_path "$file")\"" >&3
done < <(cd "$folder" && find . -type f -printf '%P\n' | sort) >"$stage/install.nsh" 3>"$stage/uninstall.nsh"
while read -r dir; do
    echo "RMDir \"$(windows_path "$dir")\""
done < <(cd "$folder" && find . -mindepth 1 -type d -printf '%P\n' | sort -r) >>"$stage/uninstall.nsh"
installer="$PWD/$build/Klimora-$version-setup.exe"
makensis -V2 -DSTAGE="$stage" -DOUTFILE="$installer" -DSIZE_KB="$(du -sk "$folder" | cut -f1)" \
    "$build/packaging/windows/installer.nsi"

python3 tests/windows_smoke_test.py "$installer"
echo "$installer"
