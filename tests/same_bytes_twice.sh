#!/usr/bin/env bash
# Copies the sources into two folders, runs the same packaging command in
# each, and checks that the last COUNT paths it prints name files with the same
# bytes in both, and that none of them holds the builder's home, cache or
# source folder. The second copy is built as a stranger would: another home,
# time zone, language, umask and user, on a shuffled directory order. Both share
# the Qt for Windows cache, which holds no builder's path of its own
# (windows_qt_same_bytes.sh checks Qt itself).
# Usage: same_bytes_twice.sh COUNT COMMAND...   (COMMAND runs in each copy)
# With SAME_BYTES_KEEP naming a folder, the first build's files are copied there.
set -euo pipefail
shopt -s inherit_errexit
count=$1
shift
source=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
mounted=
trap '[ -z "$mounted" ] || fusermount -u "$mounted"; rm -rf "$scratch"' EXIT
SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
cache=${XDG_CACHE_HOME:-$HOME/.cache}
export XDG_CACHE_HOME=$cache

copy_sources() {
    mkdir -p "$1"
    git -C "$source" ls-files -z --cached --others --exclude-standard |
        (cd "$source" && xargs -0 cp --parents -t "$1")
}

# The bytes of the files the paths name, a zip's members unpacked, and what
# an installer installs (its uninstaller too) rather than its compressed body.
bytes_of() {
    while IFS= read -r path; do
        case $path in
        *.zip) python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1])
for name in z.namelist(): sys.stdout.buffer.write(z.read(name))' "$path" ;;
        *-setup.exe) 7zz e -so "$path" 2>/dev/null ;;
        *) cat "$path" ;;
        esac
    done
}

build() {
    local name=$1 folder=$2
    shift 2
    (cd "$folder" && "$@") | tail -n "$count" >"$scratch/$name.paths"
    [ "$(wc -l <"$scratch/$name.paths")" = "$count" ] || { echo "FAIL: $* printed too few paths"; exit 1; }
    xargs -d '\n' sha256sum <"$scratch/$name.paths" | sed "s|$folder/||" >"$scratch/$name.sums"
    local leaks
    leaks=$(bytes_of <"$scratch/$name.paths" |
        grep -a -o -F -e "$HOME/" -e "$cache" -e "$scratch" | sort -u || true)
    [ -z "$leaks" ] || { echo "FAIL: the $name build's files hold the builder's paths: $leaks"; exit 1; }
}

copy_sources "$scratch/one"
build one "$scratch/one" "$@"

# The stranger's copy, on a shuffled directory order, as another user. A
# stranger who cannot be made is a failure, never a weaker check that passes.
copy_sources "$scratch/sources"
mkdir "$scratch/shuffled"
disorderfs --shuffle-dirents=yes --multi-user=yes "$scratch/sources" "$scratch/shuffled" >/dev/null ||
    { echo "FAIL: disorderfs cannot mount here (it needs /dev/fuse and fusermount)"; exit 1; }
mounted=$scratch/shuffled
user=(unshare --map-user=1234 --map-group=1234)
"${user[@]}" true || { echo "FAIL: no user namespace can be made here for the stranger's build"; exit 1; }
mkdir "$scratch/home"
build stranger "$mounted" env -u LC_ALL -u LANGUAGE HOME="$scratch/home" USER=forastero \
    TZ=America/Argentina/Buenos_Aires LANG=C "${user[@]}" bash -c 'umask 0002 && exec "$@"' - "$@"

if ! diff "$scratch/one.sums" "$scratch/stranger.sums"; then
    echo "FAIL: two builds of the same sources differ"
    exit 1
fi
[ -z "${SAME_BYTES_KEEP:-}" ] || xargs -d '\n' cp -t "$SAME_BYTES_KEEP" <"$scratch/one.paths"
cat "$scratch/one.sums"
