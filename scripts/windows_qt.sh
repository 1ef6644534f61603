# Builds Qt for Windows (Core, Gui, Widgets, the windows platform plugin and
# its styles) with MinGW-w64, from Debian's own qt6-base source package, as
# shared libraries: the user may swap the Qt DLLs. Built once per machine into
# a cache folder named after the Qt version and these options; prints it last.
# Sourced by windows.sh, which installs what it needs first.

windows_qt_options=(
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
)

# The host tools (moc, uic, rcc) come from Debian's Qt, which must be the same
# version as the source.
windows_qt_prefix() {
    local version key
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    key=$(printf '%s\n' "${windows_qt_options[@]}" | cat - cmake/mingw-w64-x86_64.cmake |
        sha256sum | cut -c1-12)
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/klimora/qt-$version-mingw64-$key"
}

# Fetches the source through a private list of Debian's source archives, so
# the machine's own apt settings are left as they were.
fetch_qt_source() {
    local work=$1 version=$2 sources
    local apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list"
        -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
        -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
    mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
    # A deb-src entry for every deb entry the machine has.
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        sed -n 's/^deb \(.*\)/deb-src \1/p' >"$work/apt/sources.list" || true
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$sources" >"$work/apt/sources.list.d/${sources##*/}"
    done
    apt-get "${apt[@]}" update >"$work/apt.log" 2>&1
    (cd "$work" && apt-get "${apt[@]}" source "qt6-base=$version" >>"$work/apt.log" 2>&1)
}

build_windows_qt() {
    local prefix version work source started
    prefix=$(windows_qt_prefix)
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        return 0
    fi
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    work="$prefix.work"
    rm -rf "$prefix" "$work"
    mkdir -p "$work"
    started=$(date +%s)
    echo "Building Qt $version for Windows into $prefix (once per machine; about 40 minutes)" >&2
    fetch_qt_source "$work" "$version" || { tail -n 40 "$work/apt.log" >&2; return 1; }
    source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
    cmake -S "$source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${windows_qt_options[@]}" >"$work/configure.log" 2>&1 ||
        { tail -n 40 "$work/configure.log" >&2; return 1; }
    cmake --build "$work/build" >"$work/build.log" 2>&1 ||
        { grep -m 20 -B 2 -A 10 'error:' "$work/build.log" >&2; return 1; }
    cmake --install "$work/build" --strip >"$work/install.log" 2>&1 ||
        { tail -n 40 "$work/install.log" >&2; return 1; }
    # What the licences ask to pass on with the DLLs: their texts, the
    # copyright of Qt and of the libraries it bundles, and where the source is.
    cp -r "$source/LICENSES" "$prefix/licenses"
    cp "$source/debian/copyright" "$prefix/licenses/copyright"
    echo "$version" >"$prefix/licenses/debian-version"
    printf '%s\n' "${windows_qt_options[@]}" >"$prefix/licenses/configure-options"
    rm -rf "$work"
    echo "Qt for Windows built in $(($(date +%s) - started)) s" >&2
    touch "$prefix/.complete"
    echo "$prefix"
}
