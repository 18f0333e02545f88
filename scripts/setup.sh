#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds a preset.
# Usage: scripts/setup.sh [preset]   (default: default; windows for the editor and recwright-cli
# for Windows, Qt included, with a Wine prefix to test them in; windows-deps for what the windows
# preset builds on, Qt included, without configuring it)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/utf8-locale.sh
. scripts/lib/packages.sh

preset=${1:-default}
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-wqy-microhei qt6-translations-l10n xvfb xauth clang libclang-rt-14-dev time strace
          libxlsxwriter-dev libzip-dev libexpat1-dev zlib1g-dev dpkg-dev)
# The plot dock: Qt Charts (whose CMake package asks for Qt OpenGL's, which its -dev package does
# not bring) and Qt SVG for its pictures.
packages+=(qt6-charts-dev libqt6opengl6-dev qt6-svg-dev)
if [ "$preset" = windows ] || [ "$preset" = windows-deps ]; then
  # The cross compiler, GoogleTest's sources to build with it, and Wine to run what it makes.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine64)
fi

ensure_packages "${packages[@]}"
[ "$preset" != windows-deps ] || exec scripts/windows-deps.sh

fresh=()
if [ "$preset" = windows ]; then
  # Qt and the worksheets' libraries for Windows, built once into the cache. Other ones (a new
  # version or options) mean a fresh configure, so that nothing found in the old ones stays.
  scripts/windows-deps.sh
  deps=${XDG_CACHE_HOME:-$HOME/.cache}/recwright/mingw-deps.cmake
  cmp -s "$deps" build/windows/mingw-deps.cmake || fresh=(--fresh)
fi
cmake --preset "$preset" "${fresh[@]}" >/dev/null
if [ "$preset" = windows ]; then
  cp "$deps" build/windows/mingw-deps.cmake
  scripts/lib/wine-prefix.sh build/windows/wine
fi
cmake --build --preset "$preset"
