# shellcheck shell=bash disable=SC2034 # sourced: its variables are the other scripts'
# Installs the Debian packages given as arguments that are not installed yet.
# Sourced by the other scripts.

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    # apt and dpkg print progress by the thousand lines: kept in a log,
    # whose tail is shown if they fail.
    local log
    log=$(mktemp --tmpdir klimora-apt.XXXXXX.log)
    echo "Installing: ${missing[*]} (log: $log)"
    # Another build installing at the same time holds the lock for a while.
    local wait=(-o DPkg::Lock::Timeout=900)
    if ! { "${sudo[@]}" apt-get "${wait[@]}" update &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y \
            --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "Installing failed; the whole log is $log"
        return 1
    fi
}

# The compiler and linker flags Debian builds its packages with, hardening
# included: fortify, stack protector, read-only relocations, bind now.
export_debian_build_flags() {
    local flags
    flags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)
    eval "$flags"
    # shellcheck disable=SC2153 # set by the eval
    export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
}

# Every time a package stores (archive members, the icons' times that rcc
# embeds, PE headers) is the last commit's: the same sources, the same bytes.
export_source_date_epoch() {
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
    export SOURCE_DATE_EPOCH
}

# Builds a configured folder for this commit. rcc and ld write the commit's
# time into their outputs, a change ninja cannot see: a folder last built for
# another commit is built anew. Its output goes to standard error.
build_for_this_commit() {
    local build=$1 stamp=$1/source-date-epoch clean=()
    [ "$(cat "$stamp" 2>/dev/null)" = "$SOURCE_DATE_EPOCH" ] || clean=(--clean-first)
    cmake --build "$build" "${clean[@]}" >&2
    echo "$SOURCE_DATE_EPOCH" >"$stamp"
}

# Nothing of the builder's environment reaches a Windows build's compilers or
# archives: not their time zone, language, umask, flags or search paths.
pin_build_environment() {
    export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
    umask 022
    unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS CMAKE_PREFIX_PATH
}

# A Windows build of Qt or of Klimora runs Debian's own moc, uic and rcc.
qt_host_options=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

# What any build of the program needs; the fonts are the window's face.
build_packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools
    fonts-liberation2)

# A build-info file's closing section: each of the files in FOLDER, with its
# SHA-256 and size.
buildinfo_checksums() {
    local folder=$1 file
    shift
    echo "Checksums-Sha256:"
    for file in "$@"; do
        echo " $(sha256sum "$folder/$file" | cut -d' ' -f1) $(stat -c %s "$folder/$file") $file"
    done
}

# The signing key's files as absolute paths, from the folder the command was
# started in: signing runs elsewhere, in makensis's folder among others.
absolute_signing_paths() {
    local name
    for name in KLIMORA_SIGN_PKCS12 KLIMORA_SIGN_PASSWORD_FILE KLIMORA_SIGN_PKCS11_MODULE \
        KLIMORA_SIGN_CERTS; do
        [ -n "${!name:-}" ] || continue
        [ -f "${!name}" ] || { echo "$name: no such file: ${!name}" >&2; return 1; }
        export "$name=$(realpath "${!name}")"
    done
}
