#!/usr/bin/env bash
# Static analysis of the program's own sources: clang-tidy, clazy and cppcheck.
# Usage: lint.sh BUILD_DIR (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
sources="$PWD/(calc|window|app)/[^/]+\\.cpp$"

echo "clang-tidy"
# "N warnings generated." counts what the header filter already hid.
run-clang-tidy -quiet -p "$build" "$sources" 2>&1 | { grep -Ev '[0-9]+ warnings? generated\.$' || true; }

echo "clazy"
for file in window/*.cpp app/*.cpp; do
    clazy-standalone -p "$build" --checks=level0,level1 --ignore-dirs="$PWD/$build" \
        --extra-arg=-Werror "$file"
done

echo "cppcheck"
cppcheck --enable=warning,performance,portability,style --std=c++20 --library=qt \
    --error-exitcode=1 --inline-suppr --quiet -I . calc window app
