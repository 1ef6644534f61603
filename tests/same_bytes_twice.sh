#!/usr/bin/env bash
# Copies the sources into two folders of different lengths, runs the same
# packaging command in each, and checks that the last COUNT paths it prints
# name files with the same bytes in both.
# Usage: same_bytes_twice.sh COUNT COMMAND...   (COMMAND runs in each copy)
set -euo pipefail
shopt -s inherit_errexit
count=$1
shift
source=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
export SOURCE_DATE_EPOCH

for copy in one a-second-longer-folder; do
    mkdir "$scratch/$copy"
    git -C "$source" ls-files -z --cached --others --exclude-standard |
        (cd "$source" && xargs -0 cp --parents -t "$scratch/$copy")
    (cd "$scratch/$copy" && "$@") | tail -n "$count" >"$scratch/$copy.paths"
    [ "$(wc -l <"$scratch/$copy.paths")" = "$count" ] || { echo "FAIL: $* printed too few paths"; exit 1; }
    xargs -d '\n' sha256sum <"$scratch/$copy.paths" | sed "s|$scratch/$copy/||" >"$scratch/$copy.sums"
done
if ! diff "$scratch/one.sums" "$scratch/a-second-longer-folder.sums"; then
    echo "FAIL: two builds of the same sources differ"
    exit 1
fi
cat "$scratch/one.sums"
