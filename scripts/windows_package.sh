#!/usr/bin/env bash
# Builds Klimora for Windows with MinGW-w64 and the Qt that windows_qt.sh
# keeps, and packs what a Windows user downloads: the portable zip and the
# installer, unsigned, with SHA256SUMS and a build-info file naming the tools
# the bytes depend on beside them. The same commit gives the same bytes on
# any machine. Given a key (see windows_sign.sh), windows_sign.sh then signs
# them into BUILD_DIR/firmado.
# Prints the paths of the stripped Klimora.exe, the zip and the installer
# last, in that order (the signed ones when signed), and nothing else on
# standard output.
# Usage: windows_package.sh [BUILD_DIR [CMAKE_OPTION...]]   (build/windows)
set -euo pipefail
shopt -s inherit_errexit
# shellcheck source=scripts/packages.sh
source "$(dirname "$0")/packages.sh"
absolute_signing_paths
cd "$(dirname "$0")/.."

build=${1:-build/windows}
shift || true
pin_build_environment
export_source_date_epoch
qt=$(bash scripts/windows_qt.sh)
# A build folder configured with another Qt would go on using that one.
fresh=()
cache=$build/CMakeCache.txt
if [ -f "$cache" ] && ! grep -qxF "CMAKE_FIND_ROOT_PATH:UNINITIALIZED=$qt" "$cache"; then
    echo "Qt for Windows has changed: configuring $build afresh." >&2
    fresh=(--fresh)
fi
cmake "${fresh[@]}" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_FIND_ROOT_PATH="$qt" \
    "${qt_host_options[@]}" -DCMAKE_INSTALL_BINDIR=. "$@" >/dev/null
build_for_this_commit "$build"

# The folder the zip and the installer hold, for the tests to compare with.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
folder=$build/stage/Klimora-$version
zip=Klimora-$version-portable.zip
setup=Klimora-$version-setup.exe
rm -rf "$build/stage" "$build"/Klimora-*-portable.zip "$build"/Klimora-*-setup.exe
cmake --install "$build" --prefix "$folder" --strip >/dev/null
python3 packaging/windows/portable_zip.py "$folder" "$build/$zip"
(cd "$build" && cpack >/dev/null)
(cd "$build" && sha256sum "$zip" "$setup" >SHA256SUMS)

# As Debian's .buildinfo: what a stranger needs to rebuild these bytes.
{
    echo "Format: 1.0"
    echo "Source: Klimora"
    echo "Version: $version"
    echo "Qt-For-Windows: ${qt##*/}"
    echo "Installed-Build-Depends:"
    # osslsigncode only where it is installed, for a signed build.
    { dpkg-query -W -f=' ${Package} (= ${Version}),\n' nsis g++-mingw-w64-x86-64-posix \
        gcc-mingw-w64-x86-64-posix-runtime binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
        cmake ninja-build python3 qt6-base-dev-tools qt6-translations-l10n osslsigncode 2>/dev/null || true; } |
        sed '$ s/,$//'
    echo "Environment:"
    echo " SOURCE_DATE_EPOCH=\"$SOURCE_DATE_EPOCH\""
    buildinfo_checksums "$build" "$zip" "$setup"
} >"$build/Klimora-$version.buildinfo"

if [ -n "${KLIMORA_SIGN_PKCS12:-}${KLIMORA_SIGN_PKCS11_KEY:-}" ] || [ "${KLIMORA_SIGN_REQUIRED:-}" = 1 ]; then
    bash scripts/windows_sign.sh "$build"
else
    echo "No key given (KLIMORA_SIGN_PKCS12 or KLIMORA_SIGN_PKCS11_KEY): the downloads are unsigned." >&2
    realpath "$folder/Klimora.exe" "$build/$zip" "$build/$setup"
fi
