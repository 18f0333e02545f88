#!/usr/bin/env bash
# The Windows editor as a person would use it, under Wine on a virtual display: recwright.exe
# from FOLDER (an unpacked .zip: the program, Qt's DLLs and plugins) in a fresh Wine prefix with
# a font that has Chinese characters. It opens stditem.dat through 文件 ▸ 打开 (Windows' own open
# dialog), finds ID 3 and changes its Price through the modify dialog, saves under a new name
# through 保存, and takes docs/editor-windows.png. The Linux recwright-cli then checks the bytes:
# the saved file is the sample with that one field changed, as its own import makes it. Last it
# opens 查看 ▸ 图表 (Qt Charts' DLL from the zip), shows the scatter plot, takes
# docs/editor-windows-plot.png, and exports the chart through Windows' save dialog as a PNG.
# Usage: scripts/windows-session.sh FOLDER
#   LINUX_CLI overrides build/default/cli/recwright-cli; SHOTS_DIR, when set, gets a picture of
#   each step (and of the screen when something fails).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/utf8-locale.sh
. scripts/lib/packages.sh
root=$PWD
program_dir=$(cd "${1:?usage: scripts/windows-session.sh FOLDER}" && pwd)
out=$root/docs/editor-windows.png
plot_out=$root/docs/editor-windows-plot.png
cli=${LINUX_CLI:-$root/build/default/cli/recwright-cli}
shots=${SHOTS_DIR:-}
[ -x "$cli" ] || { echo "No Linux recwright-cli at $cli (cmake --build --preset default)" >&2; exit 1; }
[ -f "$program_dir/recwright.exe" ] || { echo "No recwright.exe in $program_dir" >&2; exit 1; }

ensure_packages wine64 xvfb xauth xdotool imagemagick openbox x11-utils fonts-wqy-microhei

. scripts/lib/display.sh
# Wine's windows come slower than the Linux editor's.
WAIT_TRIES=150
work=$(mktemp -d)
cp samples/*.dat "$work"/
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
scripts/lib/wine-prefix.sh "$WINEPREFIX"

display=$(free_display)
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
start_display "$display" 1024x800
# Something went wrong: the screen as it was, for whoever looks into it.
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; cleanup' EXIT
on_fail() { [ -z "$shots" ] || import -window root "$shots/failed.png" 2>/dev/null || true; fail "$@"; }

# The program starts in the samples' copy, so the open dialog starts there.
(cd "$work" && exec /usr/lib/wine/wine64 "$program_dir/recwright.exe" 2>>"$work/wine.log") &
pids+=($!)
# Wine makes and drops windows while it starts; a search that meets one as it goes dies of an X
# error, so the frame is looked for again until it stands.
frame=$(wait_window 'Vellmar' 600) || on_fail "The editor's window did not appear"
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
sleep 1

# The main window with the frame Wine draws around it: the window stands at the screen's
# top left corner, its client area inset by the frame's border and title bar.
grab_frame() { # window file
  local info x y w h
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  mkdir -p "$(dirname "$2")"
  import -window root -crop "$((w + 2 * x))x$((h + y + x))+0+0" +repage "$2"
}
step() { [ -z "$shots" ] || import -window root "$shots/$1.png"; }
# Types into whatever has the keyboard: Wine's windows take xdotool's keys best that way.
press() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }

# 1. 文件 ▸ 打开 by the menu's mnemonics; the name typed into Windows' open dialog.
press alt+f
press o
dialog=$(wait_window '^(打开|Open)') || on_fail "No open dialog after 文件 ▸ 打开"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 1
step 1-open-dialog
type_text stditem.dat
press Return
wait_window '数据文件\[stditem.dat\]' >/dev/null || on_fail "stditem.dat did not open"
sleep 1
step 2-opened

# 2. ID 3 by the search box under the list, then 修改 and its Price in the record dialog.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
press Tab
type_text 3
press alt+i
press alt+m
dialog=$(wait_window '数据文件\[stditem.dat\]——修改') || on_fail "No modify dialog"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 1
# Price is the 30th box in tab order (column by column, ItemName after the first column).
xdotool key --delay 40 --repeat 29 Tab
press ctrl+a
type_text 12345
step 3-price-typed
press alt+m
sleep 0.5
xdotool search --onlyvisible --name '——修改$' >/dev/null 2>&1 && on_fail "The modify dialog is still open"
step 4-modified

# 3. 保存 under a new name, through Windows' save dialog, then the notice acknowledged.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
press alt+s
dialog=$(wait_window '^(保存|另存|Save)') || on_fail "No save dialog"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 1
press ctrl+a
type_text windows-edit
press Return
notice=$(wait_window '^提示$') || on_fail "No notice that the file was saved"
xdotool windowactivate --sync "$notice" >/dev/null 2>&1 || true
sleep 0.3
press Return
sleep 1
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
sleep 0.5
grab_frame "$frame" "$out"
echo "Saved $out"

# 4. The bytes: the sample with ID 3's Price set to 12345, made by the Linux build's import.
saved=$work/windows-edit.dat
[ -f "$saved" ] || on_fail "$saved was not written"
"$cli" export samples/stditem.dat -o "$work/expected.csv"
awk -F, -v OFS=, '$1 == "3" { $30 = 12345 } { print }' "$work/expected.csv" >"$work/expected-edited.csv"
"$cli" import "$work/expected-edited.csv" --kind item -o "$work/expected.dat" >/dev/null 2>&1
cmp "$work/expected.dat" "$saved" || on_fail "The file the Windows editor saved differs from the Linux build's"
price=$("$cli" export --kind item "$saved" | awk -F, '$1 == "3" { print $30 }')
echo "Checked $saved: the sample's bytes with ID 3's Price $price, as the Linux recwright-cli makes them"

# 5. 查看 ▸ 图表: the frame, made resizable for the dock, is shown anew; the scatter plot (类型,
# Alt+T), its picture, then 导出图片 (Alt+P) through Windows' save dialog, which must give a PNG.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
press alt+v
press p
sleep 2
frame=$(wait_window '数据文件\[stditem.dat\]') || on_fail "No frame after 查看 ▸ 图表"
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
press alt+t
press Down
sleep 1
grab_frame "$frame" "$plot_out"
echo "Saved $plot_out"
press alt+p
dialog=$(wait_window '^(另存为|保存|Save)') || on_fail "No save dialog for the plot's picture"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 1
press ctrl+a
type_text windows-plot.png
press Return
for _ in $(seq 50); do [ -s "$work/windows-plot.png" ] && break; sleep 0.1; done
[ "$(head -c 4 "$work/windows-plot.png" 2>/dev/null | od -An -c | tr -d ' ')" = '211PNG' ] ||
  on_fail "导出图片 wrote no PNG"
echo "Checked $work/windows-plot.png: a PNG"

# The editor closes without asking: what it holds is saved.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
press alt+f
press x
for _ in $(seq 100); do kill -0 "${pids[-1]}" 2>/dev/null || break; sleep 0.1; done
