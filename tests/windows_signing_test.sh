#!/usr/bin/env bash
# The Windows downloads, built twice, the second time as a stranger
# (same_bytes_twice.sh), are the same unsigned bytes as BUILD_DIR's. Then they
# are signed as a publisher signs them, with a throwaway certificate and an
# RFC 3161 server on 127.0.0.1: once with docs/windows.md's one command and a
# PKCS#12 file given by relative paths, once with a key in a SoftHSM token.
# Each signed file verifies with its time stamp; each signed program, its
# signature removed, is the unsigned one but for the PE checksum and the
# padding; the uninstaller that the signed installer installs under Wine
# verifies too. Without a key, KLIMORA_SIGN_REQUIRED=1 fails. It signs only
# into folders of its own, with no KLIMORA_SIGN_* of the caller's: a
# publisher's signed downloads in BUILD_DIR/firmado keep their bytes.
# Usage: windows_signing_test.sh BUILD_DIR   (from the source folder, after windows_package.sh)
set -euo pipefail
shopt -s inherit_errexit
build=$1
unset "${!KLIMORA_SIGN_@}"
scratch=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill "$server"; rm -rf "$scratch"' EXIT
published() { { find "$build/firmado" -type f -exec sha256sum {} + 2>/dev/null || true; } | sort; }
published_before=$(published)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

bash tests/same_bytes_twice.sh 3 bash scripts/windows_package.sh build/windows \
    -DKLIMORA_BUILD_TESTS=OFF -DKLIMORA_BUILD_BENCHMARKS=OFF | tee "$scratch/stranger.sums"
grep -v Klimora.exe "$scratch/stranger.sums" | sed 's|^\([0-9a-f]*\)  .*/|\1  |' |
    diff - "$build/SHA256SUMS" || fail "the strangers' downloads are not the bytes to be signed"

# A certificate authority, and from it a code-signing and a time-stamping certificate.
cd "$scratch"
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=CA de prueba" \
    -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign \
    -keyout ca.key -out ca.pem 2>/dev/null
issue() {
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$2" -keyout "$1.key" -out "$1.csr" 2>/dev/null
    printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
    openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 \
        -extfile "$1.ext" -out "$1.pem" 2>/dev/null
}
issue firma "Klimora prueba" codeSigning
issue sello "Sellos de tiempo de prueba" critical,timeStamping
echo 'una clave cualquiera' >clave.txt
openssl pkcs12 -export -inkey firma.key -in firma.pem -passout file:clave.txt -out klimora.p12
cat >sello.cnf <<EOF
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = $scratch/sello.serial
signer_cert = $scratch/sello.pem
signer_key = $scratch/sello.key
certs = $scratch/ca.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >sello.serial
python3 "$OLDPWD/tests/timestamp_server.py" sello.cnf >sello.url &
server=$!
for _ in $(seq 100); do [ -s sello.url ] && break; sleep 0.1; done
KLIMORA_SIGN_TIMESTAMP_URL=$(cat sello.url)
export KLIMORA_SIGN_TIMESTAMP_URL
# The token, holding the same key.
mkdir tokens
printf 'directories.tokendir = %s\nobjectstore.backend = file\n' "$scratch/tokens" >softhsm2.conf
export SOFTHSM2_CONF=$scratch/softhsm2.conf
echo 1234 >pin.txt
softhsm2-util --init-token --free --label klimora --pin 1234 --so-pin 5678 >/dev/null
openssl pkcs8 -topk8 -nocrypt -in firma.key -out firma.p8
softhsm2-util --import firma.p8 --token klimora --label firma --id 01 --pin 1234 >/dev/null
cd "$OLDPWD"

# Each signed download and program verifies, time-stamped, and is the unsigned
# one under its signature.
check_signed() {
    local how=$1 out=$2 file
    while IFS= read -r file; do
        if ! osslsigncode verify -CAfile "$scratch/ca.pem" -TSA-CAfile "$scratch/ca.pem" -in "$file" \
            >"$scratch/verify.log" 2>&1 ||
            ! grep -q 'Timestamp Server Signature verification: ok' "$scratch/verify.log"; then
            fail "$how: ${file#"$out"/} does not verify with its time stamp"
            cat "$scratch/verify.log"
        fi
        local unsigned=$build/stage/${file#"$out"/}
        [ -f "$unsigned" ] || continue
        osslsigncode remove-signature -in "$file" -out "$scratch/removed" >/dev/null
        python3 - "$unsigned" "$scratch/removed" <<'EOF' || fail "$how: ${file#"$out"/} without its signature"
import sys
def without_checksum(path):
    data = bytearray(open(path, 'rb').read())
    header = int.from_bytes(data[0x3c:0x40], 'little')
    data[header + 88:header + 92] = bytes(4)
    return bytes(data)
unsigned, removed = map(without_checksum, sys.argv[1:])
padding = removed[len(unsigned):]
sys.exit(not (removed.startswith(unsigned) and len(padding) < 8 and not padding.strip(b'\0')))
EOF
        rm "$scratch/removed"
    done < <(find "$out" -name '*.exe' -o -name 'Qt6*.dll' -o -name 'q*.dll' | sort)
    [ "$(find "$out" -name '*.exe' -o -name '*.dll' | wc -l)" -gt 3 ] || fail "$how: too few signed files"
}

relative=$(realpath --relative-to=. "$scratch")
export KLIMORA_SIGN_PKCS12=$relative/klimora.p12 KLIMORA_SIGN_PASSWORD_FILE=$relative/clave.txt
bash scripts/windows_sign.sh "$build" "$relative/pkcs12" >"$scratch/paths"
check_signed PKCS#12 "$scratch/pkcs12"
setup=$(tail -n 1 "$scratch/paths")
grep -q "$(sha256sum "$setup" | cut -c1-64)" "$scratch"/pkcs12/*.buildinfo || fail "the signed build-info names other sums"
for out in "$build" "$build/.." "$build/stage/Klimora"; do
    ! bash scripts/windows_sign.sh "$build" "$out" >/dev/null 2>&1 || fail "signed into $out"
done
(cd "$build" && sha256sum --quiet -c SHA256SUMS) || fail "signing changed the unsigned downloads"
unset KLIMORA_SIGN_PKCS12 KLIMORA_SIGN_PASSWORD_FILE

KLIMORA_SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so KLIMORA_SIGN_CERTS=$scratch/firma.pem \
    KLIMORA_SIGN_PKCS11_KEY='pkcs11:token=klimora;object=firma;type=private' \
    KLIMORA_SIGN_PASSWORD_FILE=$scratch/pin.txt bash scripts/windows_sign.sh "$build" "$scratch/pkcs11" \
    >/dev/null
check_signed PKCS#11 "$scratch/pkcs11"

export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a sh -c 'wine "$1" /S && wineserver -w' - "$setup"
osslsigncode verify -CAfile "$scratch/ca.pem" -TSA-CAfile "$scratch/ca.pem" \
    -in "$WINEPREFIX/drive_c/Program Files/Klimora/Desinstalar.exe" >/dev/null ||
    fail "the installed uninstaller does not verify"

if KLIMORA_SIGN_REQUIRED=1 KLIMORA_SIGN_PKCS12='' KLIMORA_SIGN_PKCS11_KEY='' \
    bash scripts/windows_sign.sh "$build" "$scratch/none" >/dev/null 2>&1; then
    fail "KLIMORA_SIGN_REQUIRED=1 without a key passed"
fi

[ "$(published)" = "$published_before" ] || fail "the publisher's signed downloads changed"
[ "$failures" = 0 ] || exit 1
echo "signing checks passed"
