#!/usr/bin/env bash
# Builds Qt for Windows twice with windows_qt.sh, each into a cache of its
# own, the second as a stranger (another user and home) in a cache on a
# shuffled directory order, and checks that every DLL has the same bytes in
# both. Takes two Qt builds' time (about 35 minutes on two cores), so it runs
# on demand, not in CI. Needs what windows.sh installs, /dev/fuse and user
# namespaces.
# Usage: windows_qt_same_bytes.sh   (prints each DLL's sum and the two times)
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
scratch=$(mktemp -d /var/tmp/klimora-qt-twice.XXXXXX)
mounted=
trap '[ -z "$mounted" ] || fusermount -u "$mounted"; rm -rf "$scratch"' EXIT

timed() {
    local started=$SECONDS
    "$@"
    echo "built in $((SECONDS - started)) s" >&2
}

one=$(XDG_CACHE_HOME=$scratch/one timed bash scripts/windows_qt.sh | tail -n 1)

mkdir "$scratch/two" "$scratch/shuffled" "$scratch/home"
disorderfs --shuffle-dirents=yes --multi-user=yes "$scratch/two" "$scratch/shuffled" >/dev/null ||
    { echo "FAIL: disorderfs cannot mount here (it needs /dev/fuse and fusermount)"; exit 1; }
mounted=$scratch/shuffled
stranger=(unshare --map-user=1234 --map-group=1234)
"${stranger[@]}" true || { echo "FAIL: no user namespace can be made here for the stranger"; exit 1; }
two=$(HOME=$scratch/home USER=forastero XDG_CACHE_HOME=$mounted \
    timed "${stranger[@]}" bash scripts/windows_qt.sh | tail -n 1)

sums() { (cd "$1" && find . -name '*.dll' -print0 | sort -z | xargs -0 sha256sum); }
sums "$one" >"$scratch/one.sums"
sums "$two" >"$scratch/two.sums"
[ -s "$scratch/one.sums" ] || { echo "FAIL: the first build holds no DLL"; exit 1; }
diff "$scratch/one.sums" "$scratch/two.sums" || { echo "FAIL: the two Qt builds differ"; exit 1; }
cat "$scratch/one.sums"
echo "both Qt builds give the same $(wc -l <"$scratch/one.sums") DLLs"
