#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds a preset.
# Usage: scripts/setup.sh [preset]   (default: default)
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-default}
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-wqy-microhei qt6-translations-l10n xvfb xauth clang libclang-rt-14-dev time)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
