#!/usr/bin/env bash
# Installs the built program into a scratch folder and packs it as a .deb,
# checking every file a desktop and Debian need, then has lintian judge it.
# Usage: packaging_test.sh BUILD_DIR APP_ID
set -euo pipefail
shopt -s inherit_errexit
build=$1
id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

png_size() {
    # Width and height are big-endian words at bytes 16 and 20 of a PNG.
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

desktop-file-validate "$build/packaging/$id.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$build/packaging/$id.metainfo.xml" || fail "metainfo does not validate"

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr/local >/dev/null
root="$scratch/root/usr/local"
expected=(bin/klimora "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/klimora.1.gz
    share/man/es/man1/klimora.1.gz share/doc/klimora/copyright
    share/doc/klimora/changelog.Debian.gz share/lintian/overrides/klimora)
for size in 16 32 48 64 128; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "not installed: $file"
done
for icon in "$root"/share/icons/hicolor/*x*/apps/"$id.png"; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    [ "$(png_size "$icon")" = "$folder" ] || fail "$icon is $(png_size "$icon"), not $folder"
done
grep -qx "Icon=$id" "$root/share/applications/$id.desktop" || fail "desktop entry names another icon"
dynamic=$(readelf -d "$root/bin/klimora")
grep -q 'R.*PATH' <<<"$dynamic" && fail "the program carries an RPATH or RUNPATH"

# Answered without a display, in Spanish, on standard output.
while read -r option first_line; do
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/klimora" "$option" 2>/dev/null) ||
        fail "klimora $option exited with status $?"
    [ "$(head -n 1 <<<"$output")" = "$first_line" ] || fail "klimora $option printed: $output"
done <<'EOF'
--help Uso: klimora [opciones de Qt]
-h Uso: klimora [opciones de Qt]
--version Klimora 1.00.0002
-v Klimora 1.00.0002
EOF

# A Wayland session whose DISPLAY names no X server: X11 is tried first and
# Wayland after it, whatever else is asked of Qt, unless a platform is chosen.
while read -r tried options; do
    # shellcheck disable=SC2086 # the options, a word each
    output=$(env -u QT_QPA_PLATFORM WAYLAND_DISPLAY=klimora-none DISPLAY=:77 \
        XDG_RUNTIME_DIR="$scratch" "$root/bin/klimora" $options 2>&1 >/dev/null) &&
        fail "klimora $options started with no display"
    plugins=$({ grep -o 'platform plugin "[a-z]*"' <<<"$output" || true; } | cut -d'"' -f2 | paste -sd,)
    [ "$plugins" = "$tried" ] || fail "klimora $options tried the platforms '$plugins', not '$tried'"
done <<'EOF'
xcb,wayland
xcb,wayland -platformtheme generic
xcb -platform xcb
wayland --platform wayland
EOF

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null
deb=$(find "$scratch/deb" -maxdepth 1 -name '*.deb')
[ "$(basename "$deb")" = "klimora_1.0.2-1_amd64.deb" ] || fail "package is named $(basename "$deb")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = klimora ] || fail "Package: $(field Package)"
[ "$(field Version)" = 1.0.2-1 ] || fail "Version: $(field Version)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
for dependency in libqt6widgets6 libstdc++6 fonts-liberation2 qt6-qpa-plugins qt6-translations-l10n; do
    field Depends | grep -q "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in "${expected[@]}"; do
    grep -qx "./usr/$file" <<<"$contents" || fail "not in the package: /usr/$file"
done

# Debian's own judgement of the package: no error and no warning.
lintian --allow-root -EIL +pedantic "$deb" | tee "$scratch/lintian.txt"
grep -q '^[EW]: ' "$scratch/lintian.txt" && fail "lintian has errors or warnings"

# Reproducible: the same sources, packaged in two other folders, give the same bytes.
bash "$(dirname "$0")/same_bytes_twice.sh" 1 bash scripts/package.sh || fail "the package differs between builds"

if [ "$failures" -gt 0 ]; then
    echo "$failures packaging checks failed"
    exit 1
fi
echo "packaging checks passed"
