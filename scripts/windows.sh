#!/usr/bin/env bash
# Klimora for Windows: builds Qt for Windows (once per machine), then the
# program with MinGW-w64 and its unsigned downloads (windows_package.sh). Runs
# the calculation's tests under Wine, checks that a stranger's build gives the
# same bytes and that signing them keeps them, and uses the installed program
# under Wine as a person would. Prints the installer's path last.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n dpkg-dev \
    g++-mingw-w64-x86-64-posix googletest nsis wine wine64 fonts-wine \
    xvfb openbox xdotool wmctrl imagemagick tesseract-ocr python3 osslsigncode disorderfs \
    softhsm2 libengine-pkcs11-openssl 7zip openssl
build=build/windows
installer=$(bash scripts/windows_package.sh "$build" | tail -n 1)
ctest --test-dir "$build" --output-on-failure
python3 tests/windows_smoke_test.py "$build"
echo "$installer"
