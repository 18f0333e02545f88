#!/usr/bin/env bash
# Makes a Wine prefix for the Windows programs, once: headless, quiet, without Mono or Gecko,
# and with a font that has Chinese characters (Windows has one; a fresh Wine prefix has none).
# Usage: scripts/lib/wine-prefix.sh FOLDER
set -euo pipefail
. "$(dirname "$0")/utf8-locale.sh"
prefix=$1
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  env -u DISPLAY -u WAYLAND_DISPLAY WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX="$(cd "$prefix" && pwd)" \
    /usr/lib/wine/wine64 wineboot --init 2>/dev/null
  env WINEPREFIX="$(cd "$prefix" && pwd)" /usr/lib/wine/wineserver -w
fi
fonts=$prefix/drive_c/windows/Fonts
if [ -f "$font" ] && [ ! -f "$fonts/$(basename "$font")" ]; then
  mkdir -p "$fonts"
  cp "$font" "$fonts/"
fi
