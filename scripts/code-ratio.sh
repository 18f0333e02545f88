#!/usr/bin/env bash
# The tests' lines beside the program's: C++ sources and headers (.cpp, .h) that git tracks, the
# program being every folder but tests/, bench/ and fuzz/, without the generated GBK table.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { xargs -r cat | wc -l; }
sources=$(git ls-files '*.cpp' '*.h' | grep -v '^text/GbkTableData\.cpp$')
tests=$(grep '^tests/' <<<"$sources" | count)
code=$(grep -v -e '^tests/' -e '^bench/' -e '^fuzz/' <<<"$sources" | count)
echo "program $code lines, tests $tests lines: tests are $(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }') of the program"
