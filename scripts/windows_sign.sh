#!/usr/bin/env bash
# Signs the Windows downloads that windows_package.sh has built, as a
# publisher does once the unsigned build is done: in a copy of the program's
# folder, Klimora.exe and the Qt DLLs and plugins built here (not Debian's
# MinGW runtime); then the zip of that copy, and the installer packed again
# from it, its uninstaller and itself signed as makensis writes them.
# Authenticode with SHA-256, by osslsigncode. The signed downloads go into
# OUT_DIR with their own SHA256SUMS and build-info; the unsigned ones stay as
# built, the bytes anyone can rebuild. An OUT_DIR that is BUILD_DIR, holds it,
# or lies in its stage is refused before anything is removed.
#
# The key, one of:
#   KLIMORA_SIGN_PKCS12         a PKCS#12 file, certificate and key;
#   KLIMORA_SIGN_PKCS11_KEY     a key in a PKCS#11 token (a pkcs11: URI), with
#   KLIMORA_SIGN_PKCS11_MODULE  the token's module and
#   KLIMORA_SIGN_CERTS          its certificate chain (PEM).
# KLIMORA_SIGN_PASSWORD_FILE    the file holding its password or PIN;
# KLIMORA_SIGN_TIMESTAMP_URL    an RFC 3161 time-stamping server, so that the
#                               signatures outlast the certificate;
# KLIMORA_SIGN_REQUIRED=1       fail when no key is given.
# Paths may be relative to the folder the command was started in.
#
# Usage: windows_sign.sh BUILD_DIR [OUT_DIR]    (OUT_DIR: BUILD_DIR/firmado)
#        prints the signed Klimora.exe, zip and installer last, in that order
#        windows_sign.sh --file FILE            (signs FILE in place; makensis's step)
set -euo pipefail
shopt -s inherit_errexit
# shellcheck source=scripts/packages.sh
source "$(dirname "$0")/packages.sh"
absolute_signing_paths

sign_file() {
    local file=$1 key=()
    if [ -n "${KLIMORA_SIGN_PKCS12:-}" ]; then
        key=(-pkcs12 "$KLIMORA_SIGN_PKCS12")
    else
        key=(-pkcs11module "$KLIMORA_SIGN_PKCS11_MODULE" -certs "$KLIMORA_SIGN_CERTS"
            -key "$KLIMORA_SIGN_PKCS11_KEY")
    fi
    [ -z "${KLIMORA_SIGN_PASSWORD_FILE:-}" ] || key+=(-readpass "$KLIMORA_SIGN_PASSWORD_FILE")
    [ -z "${KLIMORA_SIGN_TIMESTAMP_URL:-}" ] || key+=(-ts "$KLIMORA_SIGN_TIMESTAMP_URL")
    # osslsigncode writes only a file that does not exist yet.
    local signed
    signed=$(mktemp -u "$file.signed.XXXXXX")
    osslsigncode sign "${key[@]}" -h sha256 -n Klimora -in "$file" -out "$signed" >/dev/null
    # Copied over, not moved: the file keeps its mode.
    cp "$signed" "$file"
    rm "$signed"
}

if [ "${1:-}" = --file ]; then
    sign_file "$2"
    exit 0
fi

if [ -z "${KLIMORA_SIGN_PKCS12:-}${KLIMORA_SIGN_PKCS11_KEY:-}" ]; then
    if [ "${KLIMORA_SIGN_REQUIRED:-}" = 1 ]; then
        echo "No key given (KLIMORA_SIGN_PKCS12 or KLIMORA_SIGN_PKCS11_KEY), and KLIMORA_SIGN_REQUIRED=1." >&2
        exit 1
    fi
    echo "No key given (KLIMORA_SIGN_PKCS12 or KLIMORA_SIGN_PKCS11_KEY): nothing signed." >&2
    exit 0
fi
if [ -n "${KLIMORA_SIGN_PKCS11_KEY:-}" ] && { [ -z "${KLIMORA_SIGN_PKCS11_MODULE:-}" ] || [ -z "${KLIMORA_SIGN_CERTS:-}" ]; }; then
    echo "A PKCS#11 key needs KLIMORA_SIGN_PKCS11_MODULE and KLIMORA_SIGN_CERTS too." >&2
    exit 1
fi
command -v osslsigncode >/dev/null || { echo "osslsigncode is not installed (windows.sh installs it)." >&2; exit 1; }

build=$(realpath -e "$1")
out=$(realpath -m "${2:-$build/firmado}")
# True when path $1 is $2 or lies inside it.
within() { [[ $1/ == "${2%/}"/* ]]; }
if within "$build" "$out" || within "$out" "$build/stage"; then
    echo "$out would hold the unsigned build's files, which signing replaces: give a folder of its own (by default $build/firmado)." >&2
    exit 1
fi
this=$(realpath "$0")
cd "$(dirname "$0")/.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
unsigned=$build/stage/Klimora-$version
nsis=$build/_CPack_Packages/win64/NSIS64/project.nsi
if ! [ -d "$unsigned" ] || ! [ -f "$nsis" ]; then
    echo "$build holds no unsigned build: run windows_package.sh first." >&2
    exit 1
fi

folder=$out/Klimora-$version
zip=Klimora-$version-portable.zip
setup=Klimora-$version-setup.exe
# Only what an earlier signing wrote there goes: OUT_DIR may hold other files.
mkdir -p "$out"
rm -rf "${folder:?}" "${out:?}/$zip" "${out:?}/$setup"
cp -a "$unsigned" "$folder"
find "$folder" -name '*.exe' -o -name '*.dll' -not -name 'libstdc++-6.dll' \
    -not -name 'libgcc_s_seh-1.dll' -not -name 'libwinpthread-1.dll' | sort |
    while IFS= read -r file; do sign_file "$file"; done
export_source_date_epoch
python3 packaging/windows/portable_zip.py "$folder" "$out/$zip"
(cd "${nsis%/*}" && makensis -V2 -DKLIMORA_FILES="$folder" -DKLIMORA_OUTFILE="$out/$setup" \
    -DKLIMORA_SIGN="bash \"$this\" --file" "$nsis" >&2)
(cd "$out" && sha256sum "$zip" "$setup" >SHA256SUMS)
# The unsigned build's build-info, naming these files' sums instead.
{
    sed '/^Checksums-Sha256:/,$d' "$build/Klimora-$version.buildinfo"
    buildinfo_checksums "$out" "$zip" "$setup"
} >"$out/Klimora-$version.buildinfo"
realpath "$folder/Klimora.exe" "$out/$zip" "$out/$setup"
