#!/usr/bin/env bash
# Copies the sources into two folders, runs the same packaging command in
# each, and checks that the last COUNT paths it prints name files with the same
# bytes in both, and that none of them holds the builder's home, cache or
# source folder. The second copy is built as a stranger would: another home,
# time zone, language and umask, another user where a user namespace can be
# had, and on a shuffled directory order where disorderfs can mount. Both share
# the Qt for Windows cache, which holds no builder's path of its own.
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

# The bytes of the files the paths name, a zip's members unpacked.
bytes_of() {
    while IFS= read -r path; do
        case $path in
        *.zip) python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1])
for name in z.namelist(): sys.stdout.buffer.write(z.read(name))' "$path" ;;
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

# The stranger's copy, on a shuffled directory order if disorderfs can mount.
copy_sources "$scratch/sources"
stranger=$scratch/sources
mkdir "$scratch/shuffled"
if disorderfs --shuffle-dirents=yes --multi-user=yes "$scratch/sources" "$scratch/shuffled" \
    >/dev/null 2>&1; then
    mounted=$scratch/shuffled
    stranger=$mounted
else
    echo "disorderfs could not mount here: the second build reads directories in their own order"
fi
user=()
if unshare --map-user=1234 --map-group=1234 true 2>/dev/null; then
    user=(unshare --map-user=1234 --map-group=1234)
else
    echo "no user namespace here: the second build runs as this same user"
fi
mkdir "$scratch/home"
build stranger "$stranger" env -u LC_ALL -u LANGUAGE HOME="$scratch/home" USER=forastero \
    TZ=America/Argentina/Buenos_Aires LANG=C "${user[@]}" bash -c 'umask 0002 && exec "$@"' - "$@"

if ! diff "$scratch/one.sums" "$scratch/stranger.sums"; then
    echo "FAIL: two builds of the same sources differ"
    exit 1
fi
[ -z "${SAME_BYTES_KEEP:-}" ] || xargs -d '\n' cp -t "$SAME_BYTES_KEEP" <"$scratch/one.paths"
cat "$scratch/one.sums"
