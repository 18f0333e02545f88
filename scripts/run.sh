#!/usr/bin/env bash
# Sets everything up and runs the project's main job over the bundled samples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
exec build/default/cli/recwright-cli info samples/stditem.dat samples/magic.dat samples/monster.dat
