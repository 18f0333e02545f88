#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds a preset.
# Usage: scripts/setup.sh [preset]   (default: default)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh

preset=${1:-default}
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-wqy-microhei qt6-translations-l10n xvfb xauth clang libclang-rt-14-dev time
          libxlsxwriter-dev libzip-dev libexpat1-dev zlib1g-dev)

ensure_packages "${packages[@]}"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
