#!/usr/bin/env bash
# Builds Klimora for Windows with MinGW-w64 and the Qt that windows_qt.sh
# keeps, and packs what a Windows user downloads: the portable zip and the
# installer, with SHA256SUMS beside them. With a certificate (see
# windows_sign.sh) Klimora.exe, the uninstaller and the installer are signed.
# Prints the paths of the stripped Klimora.exe, the zip and the installer
# last, in that order, and nothing else on standard output; the same commit
# gives the same bytes on any machine.
# Usage: windows_package.sh [BUILD_DIR [CMAKE_OPTION...]]   (build/windows)
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

build=${1:-build/windows}
shift || true
# The archives and the compilers see no time zone, language, umask or flags
# of the builder's.
export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
umask 022
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS
export_source_date_epoch
qt=$(bash scripts/windows_qt.sh)
[ -n "${KLIMORA_SIGN_PKCS12:-}" ] ||
    echo "No certificate given (KLIMORA_SIGN_PKCS12): the downloads are unsigned." >&2
# A build folder configured with another Qt would go on using that one.
fresh=()
cache=$build/CMakeCache.txt
if [ -f "$cache" ] && ! grep -qxF "CMAKE_FIND_ROOT_PATH:UNINITIALIZED=$qt" "$cache"; then
    echo "Qt for Windows has changed: configuring $build afresh." >&2
    fresh=(--fresh)
fi
cmake "${fresh[@]}" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_BINDIR=. "$@" >/dev/null
build_for_this_commit "$build"

# The folder the zip and the installer hold, for the tests to compare with.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
folder=$build/stage/Klimora-$version
zip=$build/Klimora-$version-portable.zip
setup=Klimora-$version-setup.exe
rm -rf "$build/stage" "$build"/Klimora-*-portable.zip "$build"/Klimora-*-setup.exe
cmake --install "$build" --prefix "$folder" --strip >/dev/null
python3 packaging/windows/portable_zip.py "$folder" "$zip"
(cd "$build" && cpack >/dev/null)
(cd "$build" && sha256sum "${zip##*/}" "$setup" >SHA256SUMS)
realpath "$folder/Klimora.exe" "$zip" "$build/$setup"
