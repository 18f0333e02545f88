#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds a preset.
# Usage: scripts/setup.sh [preset]   (default: default; windows for recwright-cli.exe under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh

preset=${1:-default}
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-wqy-microhei qt6-translations-l10n xvfb xauth clang libclang-rt-14-dev time
          libxlsxwriter-dev libzip-dev libexpat1-dev zlib1g-dev dpkg-dev)
if [ "$preset" = windows ]; then
  # The cross compiler, GoogleTest's sources to build with it, and Wine to run what it makes.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine64)
fi

ensure_packages "${packages[@]}"

cmake --preset "$preset" >/dev/null
if [ "$preset" = windows ] && [ ! -f build/windows/wine/system.reg ]; then
  # Wine's prefix for this build, made once before the build starts test programs in it.
  env -u DISPLAY WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX="$PWD/build/windows/wine" \
    /usr/lib/wine/wine64 wineboot --init 2>/dev/null
fi
cmake --build --preset "$preset"
