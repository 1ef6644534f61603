#!/usr/bin/env bash
# Signs the Windows downloads with a throwaway certificate, twice, the second
# time as a stranger (same_bytes_twice.sh): both are the same bytes, each
# signature verifies against that certificate, and one changed byte fails.
# Usage: windows_signing_test.sh   (from the source folder)
set -euo pipefail
shopt -s inherit_errexit
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Klimora prueba" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$scratch/key.pem" -out "$scratch/cert.pem" 2>/dev/null
echo 'una clave cualquiera' >"$scratch/password"
openssl pkcs12 -export -inkey "$scratch/key.pem" -in "$scratch/cert.pem" \
    -passout "file:$scratch/password" -out "$scratch/cert.p12"
export KLIMORA_SIGN_PKCS12=$scratch/cert.p12 KLIMORA_SIGN_PASSWORD_FILE=$scratch/password

mkdir "$scratch/signed"
SAME_BYTES_KEEP=$scratch/signed bash tests/same_bytes_twice.sh 3 bash scripts/windows_package.sh \
    build/windows -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF

verify() {
    osslsigncode verify -CAfile "$scratch/cert.pem" -in "$1" >"$scratch/verify.log" 2>&1
}
for file in "$scratch"/signed/*.exe; do
    verify "$file" || { fail "${file##*/} does not verify"; cat "$scratch/verify.log"; }
    grep -q 'Message digest algorithm *: SHA256' "$scratch/verify.log" || fail "${file##*/}: not SHA-256"
    # One byte of the program, past the headers, changed.
    tampered=$scratch/tampered.exe
    cp "$file" "$tampered"
    printf '\xff' | dd of="$tampered" bs=1 seek=4096 conv=notrunc status=none
    ! verify "$tampered" || fail "${file##*/} with a changed byte still verifies"
done
[ "$(ls "$scratch"/signed/*.exe | wc -l)" = 2 ] || fail "expected Klimora.exe and the installer"

[ "$failures" = 0 ] || exit 1
echo "signing checks passed"
