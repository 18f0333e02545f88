#!/usr/bin/env bash
# Starts the editor on a virtual display, opens samples/stditem.dat through File > Open as a
# person would (menu by keyboard, file name typed into the dialog) and saves a screenshot of the
# main window to docs/editor-open.png.
# Usage: scripts/screenshot-open.sh [output.png]
#   BUILD_DIR overrides build/default, SAMPLES_DIR the folder the editor starts in (samples/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/docs/editor-open.png}
build=${BUILD_DIR:-$root/build/default}
samples=${SAMPLES_DIR:-$root/samples}

needed=(xvfb xauth xdotool imagemagick openbox x11-utils fonts-wqy-microhei)
missing=()
for p in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ ! -d "$build" ]; then cmake --preset default -B "$build" >/dev/null; fi
cmake --build "$build" --target recwright

# A free display number.
display=99
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1024x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

# From samples/, as scripts/run.sh starts it, so the Open dialog starts there.
(cd "$samples" && exec env QT_QPA_PLATFORM=xcb "$build/shell/recwright") &
pids+=($!)

frame=$(xdotool search --sync --onlyvisible --name 'Vellmar')
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
sleep 0.5

# File > Open by its mnemonics, then the file name typed into the dialog's name box.
xdotool key --window "$frame" --clearmodifiers alt+f
sleep 0.5
xdotool key --clearmodifiers o
dialog=$(xdotool search --sync --onlyvisible --name '^(Open|打开)')
sleep 0.5
xdotool type --delay 40 'stditem.dat'
sleep 0.3
xdotool key Return

# Acknowledge any message the load raises (each waits for OK), then wait for the title.
for _ in $(seq 100); do
  if xdotool search --onlyvisible --name '数据文件\[stditem.dat\]' >/dev/null 2>&1; then break; fi
  for box in $(xdotool search --onlyvisible --name '^(错误|警告)$' 2>/dev/null); do
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key Return
  done
  sleep 0.1
done
xdotool search --onlyvisible --name '数据文件\[stditem.dat\]' >/dev/null || { echo "The file did not open" >&2; exit 1; }
unset dialog
sleep 1

# The window with its frame: the client's place on the screen grown by the frame's extents.
info=$(xwininfo -id "$frame")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
w=$(sed -n 's/.*Width: *//p' <<<"$info")
h=$(sed -n 's/.*Height: *//p' <<<"$info")
extents=$(xprop -id "$frame" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
mkdir -p "$(dirname "$out")"
import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$out"
echo "Saved $out"
