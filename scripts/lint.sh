#!/usr/bin/env bash
# The sources' style and static analysis: clang-format, ESLint and shellcheck
# over every C++ file, script and shell script; clang-tidy, clazy and cppcheck
# over the program's own C++. Needs the page's tools (npm ci).
# Usage: lint.sh BUILD_DIR (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
sources="$PWD/(calc|window|app)/[^/]+\\.cpp$"

echo "clang-format"
find calc window app web bench tests fuzz -name '*.cpp' -o -name '*.h' | sort |
    xargs clang-format --dry-run --Werror

echo "ESLint"
npx --no-install eslint 'web/*.js' 'tests/web/*.mjs' 'bench/web/*.mjs' 'scripts/*.mjs' '*.mjs'

echo "shellcheck"
# Its warnings and errors; its notes are advice, and the Qt recipe, whose every
# byte names Qt's cache folder, keeps one.
shellcheck -x --severity=warning scripts/*.sh tests/*.sh .ci/run

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
