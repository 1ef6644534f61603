#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets, the windows platform plugin and
# its styles, and nothing Klimora does not use) with MinGW-w64, from Debian's
# own qt6-base source package, as shared libraries: the user may swap the Qt
# DLLs. Built once per machine into a cache folder named after everything that
# decides its bytes; prints that folder last, and nothing else on standard
# output. Run by windows_package.sh; windows.sh installs what it needs.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

options=(
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_freetype=OFF
    # -no-opengl: FEATURE_opengl=OFF alone keeps dynamic GL, which the
    # windows plugin then fails to compile against.
    -DINPUT_opengl=no
    # Debian strips wintab.h from its source.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    # What one small window never shows: a second platform plugin (Direct2D
    # compiles the windows plugin again) and the DirectWrite font database it
    # brings (the GDI one finds the classic raster face), document formats,
    # and widgets.
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_sessionmanager=OFF -DFEATURE_systemtrayicon=OFF -DFEATURE_mimetype=OFF
    -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF -DFEATURE_mdiarea=OFF
    -DFEATURE_dockwidget=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF
    -DFEATURE_wizard=OFF -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_columnview=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_dial=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_splashscreen=OFF
    -DFEATURE_syntaxhighlighter=OFF -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF
    -DFEATURE_undogroup=OFF -DFEATURE_undoview=OFF
)
toolchain=cmake/mingw-w64-x86_64.cmake
# Qt is configured for this prefix and installed elsewhere: no builder's home or
# cache folder ends up in its files.
configured_prefix=/opt/klimora/qt-mingw64

pin_build_environment

# The host tools (moc, uic, rcc) come from Debian's Qt, which must be built
# from the same source.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
# Whatever changes the bytes changes the folder: Qt's source, the compilers,
# binutils, the MinGW-w64 runtime and headers to the last package revision,
# CMake, Ninja and this recipe with the environment and host tools it pins.
key=$({
    echo "$version"
    x86_64-w64-mingw32-gcc-posix --version
    x86_64-w64-mingw32-g++-posix --version
    dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix \
        gcc-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime gcc-mingw-w64-base \
        binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev mingw-w64-common cmake ninja-build
    cat scripts/windows_qt.sh "$toolchain"
    declare -f pin_build_environment
    echo "${qt_host_options[@]}"
} | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/klimora
prefix=$cache/qt-$version-mingw64-$key

# One build per cache at a time: a second run waits here for the first, then
# uses its Qt.
mkdir -p "$cache"
exec {lock}>"$prefix.lock"
flock "$lock"
if [ -d "$prefix" ]; then
    echo "$prefix"
    exit 0
fi

# Fetches the source through a private list of Debian's source archives, so
# the machine's own apt settings are left as they were.
fetch_source() {
    local apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list"
        -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
        -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
    local sources
    mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
    # A deb-src entry for every deb entry the machine has.
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        sed -n 's/^deb \(.*\)/deb-src \1/p' >"$work/apt/sources.list" || true
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$sources" >"$work/apt/sources.list.d/${sources##*/}"
    done
    apt-get "${apt[@]}" update
    (cd "$work" && apt-get "${apt[@]}" source "qt6-base=$version")
}

# Runs a step with its output in a log. If it fails, shows its errors, or its
# end where it names none, and keeps the log beside the cache.
step() {
    local name=$1 log=$work/$1.log
    shift
    "$@" >"$log" 2>&1 && return 0
    echo "Building Qt for Windows failed at: $name (log: $prefix.$name.log)" >&2
    grep -m 10 -B 5 -A 10 -E 'error:|FAILED:' "$log" >&2 || tail -n 40 "$log" >&2
    cp "$log" "$prefix.$name.log"
    exit 1
}

# Runs killed outright leave their work folders; this run holds the lock.
rm -rf "$prefix".work.*
work=$(mktemp -d "$prefix.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$(date +%s)
echo "Building Qt $version for Windows into $prefix (once per machine; about 15 minutes)" >&2
step fetch fetch_source
source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
# Every time stamped into the DLLs (by ld, by rcc) is that of this Qt source
# release, whichever Klimora commit first fills the cache.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH
# The work folder's random name stays out of __FILE__ and the like.
map=-ffile-prefix-map=$work=/qt
step configure cmake -S "$source" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" -DCMAKE_INSTALL_PREFIX="$configured_prefix" \
    -DCMAKE_C_FLAGS="$map" -DCMAKE_CXX_FLAGS="$map" "${qt_host_options[@]}" "${options[@]}"
# Past a failure, on to the end: one run shows every error.
step build cmake --build "$work/build" -- -k 0
# Installed aside and moved into place last: a run that fails anywhere leaves
# no Qt that looks whole. Qt's CMake files find their folder wherever it is.
staged=$work/staged$configured_prefix
DESTDIR=$work/staged step install cmake --install "$work/build" --strip
# What the licences ask to pass on with the DLLs: their texts, the copyright
# of Qt and of the libraries it bundles, and where the source is.
cp -r "$source/LICENSES" "$staged/licenses"
cp "$source/debian/copyright" "$staged/licenses/copyright"
echo "$version" >"$staged/licenses/debian-version"
printf '%s\n' "${options[@]}" >"$staged/licenses/configure-options"
mv "$staged" "$prefix"
echo "Qt for Windows built in $(($(date +%s) - started)) s" >&2
# Earlier Qts, built from another source, compiler or recipe, are never used again.
for old in "$cache"/qt-*-mingw64-*; do
    [ -d "$old" ] && [[ $old != "$prefix"* && $old != *.work.* ]] || continue
    # A run still building it holds its lock: left for a later run to remove.
    exec {old_lock}>"$old.lock"
    flock -n "$old_lock" || continue
    echo "Removing an earlier Qt for Windows: $old" >&2
    rm -rf "$old" "$old".*
    exec {old_lock}>&-
done
echo "$prefix"
