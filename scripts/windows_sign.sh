#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode (SHA-256) when a
# certificate is given: KLIMORA_SIGN_PKCS12 names a PKCS#12 file and
# KLIMORA_SIGN_PASSWORD_FILE the file holding its password. Without them it
# leaves the file as it is. The signing time is SOURCE_DATE_EPOCH, so that one
# certificate signs the same sources into the same bytes.
# Run by the install step (Klimora.exe) and by makensis (the uninstaller and
# the installer).
# Usage: windows_sign.sh FILE
set -euo pipefail
file=$1
[ -n "${KLIMORA_SIGN_PKCS12:-}" ] || exit 0
# osslsigncode writes only a file that does not exist yet.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
signed=$scratch/signed
osslsigncode sign -pkcs12 "$KLIMORA_SIGN_PKCS12" -readpass "$KLIMORA_SIGN_PASSWORD_FILE" \
    -h sha256 -n Klimora -time "$SOURCE_DATE_EPOCH" -in "$file" -out "$signed" >/dev/null
# Copied over, not moved: the file keeps its mode.
cp "$signed" "$file"
