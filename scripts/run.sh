#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor in samples/, so that File > Open starts there.
# Without a display it shows what the sample files hold with recwright-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
root=$PWD
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset), so the editor cannot open its window."
  echo "Run it under a desktop session, or see scripts/screenshot-session.sh for a virtual display."
  echo "Meanwhile, the sample files as recwright-cli reads them:"
  echo
  exec build/default/cli/recwright-cli info samples/*.dat
fi
cd samples
exec "$root/build/default/shell/recwright"
