#!/usr/bin/env bash
# Rebuilds samples/*.dat from the CSV sources beside them with recwright-cli import.
# Usage: scripts/make-samples.sh   (BUILD_DIR=... to use another build of the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
[ -f "$build/CMakeCache.txt" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" --target recwright-cli
cli="$build/cli/recwright-cli"
for name in stditem magic monster; do
  "$cli" import "samples/$name.csv" -o "samples/$name.dat"
done
"$cli" info samples/stditem.dat samples/magic.dat samples/monster.dat
