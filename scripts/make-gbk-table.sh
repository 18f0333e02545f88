#!/usr/bin/env bash
# Makes text/GbkTableData.cpp again from Qt's GBK converter. By hand only: the table is kept
# in the repository so that no build needs Qt or ICU for names.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S tools/gbk-table -B build/gbk-table -G Ninja >/dev/null
cmake --build build/gbk-table
build/gbk-table/gbk-table > text/GbkTableData.cpp.new
mv text/GbkTableData.cpp.new text/GbkTableData.cpp
