#!/usr/bin/env bash
# A whole editing session on a virtual display, done as a person would with mouse and keys:
# open stditem.dat through File > Open (from a temporary copy of samples/) and take the picture
# docs/editor-open.png; modify a record's price through its edit dialog, sort by a click on the
# ItemID header, find it again by its ID, save under a new name, and take docs/editor-session.png.
# The saved file is then checked with recwright-cli export. Then edit a cell in place and
# filter with the find bar, and take docs/editor-find.png. Then compare the table with another
# version of it (docs/editor-compare.png, and the records only in that version), show only the
# rows that differ and go to a difference with F8 (docs/editor-differences.png), and import a
# CSV a spreadsheet has changed names in (docs/editor-import.png). Then, on a wide screen, make
# the frame resizable from the 查看 menu, enlarge it and fit the columns (docs/editor-resized.png).
# Last, open 查看 ▸ 图表, plot Price against NeedLevel, pick the dearest items with a rectangle,
# rest on the outlier for its tip (docs/editor-plot.png) and export the chart as a PNG.
# The editor's settings go to the work folder, never to the user's.
# Usage: scripts/screenshot-session.sh
#   BUILD_DIR overrides build/default; SHOTS_DIR, when set, also gets a picture of each step
#   and of the three edit dialogs.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
root=$PWD
opened_out=$root/docs/editor-open.png
out=$root/docs/editor-session.png
found_out=$root/docs/editor-find.png
build=${BUILD_DIR:-$root/build/default}
shots=${SHOTS_DIR:-}

ensure_packages xvfb xauth xdotool imagemagick openbox x11-utils fonts-wqy-microhei

if [ ! -d "$build" ]; then cmake --preset default -B "$build" >/dev/null; fi
cmake --build "$build" --target recwright recwright-cli
build=$(cd "$build" && pwd)

. scripts/lib/display.sh
work=$(mktemp -d)
cp "$root"/samples/*.dat "$work"/
export XDG_CONFIG_HOME="$work/config"

display=$(free_display)
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
start_display "$display" 1024x800

(cd "$work" && exec env QT_QPA_PLATFORM=xcb "$build/shell/recwright") &
pids+=($!)

frame=$(xdotool search --sync --onlyvisible --name 'Vellmar')
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
sleep 0.5

# A window with its frame, as the screen shows it.
grab() { # window file
  local info x y w h extents left right top bottom
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
  mkdir -p "$(dirname "$2")"
  import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$2"
}
step() { [ -z "$shots" ] || grab "$frame" "$shots/$1.png"; }
# Clicks at a point of the main window's client area.
click_at() { # x y [repeat]
  xdotool mousemove --window "$frame" "$1" "$2" click --repeat "${3:-1}" --delay 120 1
  sleep 0.4
}

# A command of the File menu by its mnemonic, answering 不保存 if unsaved changes are asked
# about, then the file name typed into its open dialog.
file_command() { # mnemonic file-name
  xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
  xdotool key --window "$frame" --clearmodifiers alt+f
  sleep 0.5
  xdotool key --clearmodifiers "$1"
  local question
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^(Open|打开)' >/dev/null 2>&1 && break
    question=$(xdotool search --onlyvisible --name '^警告$' 2>/dev/null | head -n1 || true)
    [ -z "$question" ] || { xdotool windowactivate --sync "$question" >/dev/null 2>&1; xdotool key alt+n; }
    sleep 0.1
  done
  wait_window '^(Open|打开)' 1 >/dev/null || fail "No open dialog after File > $1"
  sleep 0.5
  xdotool type --delay 40 "$2"
  xdotool key Return
}

# File > Open by the menu's mnemonics, the file name typed into the dialog; any message the
# load raises is acknowledged (each waits for OK) until the title names the file.
open_by_menu() { # file name
  file_command o "$1"
  local title="数据文件\\[$1\\]" box
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 && break
    for box in $(xdotool search --onlyvisible --name '^(错误|警告)$' 2>/dev/null); do
      xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
      xdotool key Return
    done
    sleep 0.1
  done
  wait_window "$title" 1 >/dev/null || fail "$1 did not open"
  sleep 0.5
}


# 1. File > Open, and the picture of the opened file.
open_by_menu stditem.dat
grab "$frame" "$opened_out"
echo "Saved $opened_out"
step 1-opened

# 2. Double-click the third row (ID 3) and set its Price in the dialog.
# The form's geometry in the client area: the menu bar on top, then the list's header and
# rows of equal height.
menu_h=24
header_h=20
row_h=18
click_at 60 $((menu_h + header_h + 2 * row_h + row_h / 2)) 2
dialog=$(wait_window '数据文件\[stditem.dat\]——修改') || fail "No modify dialog"
sleep 0.5
[ -z "$shots" ] || grab "$dialog" "$shots/dialog-item.png"
# Price is the 30th box in tab order (column by column, ItemName after the first column).
xdotool key --window "$dialog" --delay 30 --repeat 29 Tab
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 40 '12345'
[ -z "$shots" ] || grab "$dialog" "$shots/2-price-typed.png"
xdotool key --clearmodifiers alt+m
sleep 0.5
xdotool search --onlyvisible --name '——修改$' >/dev/null 2>&1 && fail "The modify dialog is still open"
step 2-modified

# 3. Sort by ItemID, descending: two clicks on its header.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
click_at 30 $((menu_h + header_h / 2))
click_at 30 $((menu_h + header_h / 2))
step 3-sorted

# 4. Find the modified record again: Tab from the list to the ID box, then Search by ID.
xdotool key --window "$frame" Tab
xdotool type --delay 40 '3'
xdotool key --window "$frame" --clearmodifiers alt+i
sleep 0.5
step 4-found

# 5. Save under a new name, then acknowledge the notice.
xdotool key --window "$frame" --clearmodifiers alt+s
wait_window '^(Save|保存|另存)' >/dev/null || fail "No save dialog"
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 40 'session-edit'
xdotool key Return
notice=$(wait_window '^提示$') || fail "No saved notice"
sleep 0.3
[ -z "$shots" ] || grab "$notice" "$shots/5-saved-notice.png"
xdotool windowactivate --sync "$notice" >/dev/null 2>&1 || true
xdotool key Return
sleep 0.5
grab "$frame" "$out"
echo "Saved $out"

# The saved file: rows in descending ID order, ID 3 with the new price (column 30).
saved="$work/session-edit.dat"
[ -f "$saved" ] || fail "$saved was not written"
csv=$("$build/cli/recwright-cli" export --kind item "$saved")
first_id=$(sed -n 2p <<<"$csv" | cut -d, -f1)
price=$(awk -F, '$1 == "3" { print $30 }' <<<"$csv")
[ "$price" = 12345 ] || fail "ID 3 has the price '$price' in the saved file, not 12345"
[ "$first_id" = 38 ] || fail "The saved file starts with ID $first_id, not 38"
echo "Checked $saved: ID 3 has the price 12345; rows in descending ID order"

# 6. Edit a cell in place, then find and filter with the find bar, and take
# docs/editor-find.png: the changed cell tinted, the bar with its count, the status bar's
# "显示 n / N 条". The top row (ID 30, sorted descending) is one the filter keeps.
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
click_at 360 $((menu_h + header_h + row_h / 2))
xdotool key --window "$frame" F2
sleep 0.3
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 40 '99'
xdotool key Return
sleep 0.3
xdotool key --window "$frame" --clearmodifiers ctrl+f
sleep 0.5
xdotool type --delay 40 'Stdmode>=30 Shape<5'
xdotool key Return
sleep 0.4
xdotool key --delay 100 Tab Tab Tab space
sleep 0.8
grab "$frame" "$found_out"
echo "Saved $found_out"
step 6-found

# The other two edit dialogs, for a look: magic in add mode, monster in modify mode.
if [ -n "$shots" ]; then
  for name in magic monster; do
    # The cell edited in step 6 is unsaved: 不保存 when asked.
    open_by_menu "$name.dat"
    if [ "$name" = magic ]; then
      xdotool key --window "$frame" --clearmodifiers alt+a
      mode='增加'
    else
      click_at 60 $((menu_h + header_h + row_h + row_h / 2)) 2
      mode='修改'
    fi
    dialog=$(wait_window "数据文件\\[$name.dat\\]——$mode") || fail "No $name dialog"
    sleep 0.5
    grab "$dialog" "$shots/dialog-$name.png"
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    xdotool key Escape
    sleep 0.3
  done
fi

# 7. The window on a 1600 × 1000 screen at display scale 1 and 2, the file named on the command
# line: docs/editor-scale1.png whole, docs/editor-scale2.png clamped to the screen, its list
# shorter so that the column titles and the buttons show together, and scrolled sideways, the
# ID and name frozen at the left.
for scale in 1 2; do
  wide=$(free_display $((display + 1)))
  start_display "$wide" 1600x1000
  (cd "$work" && exec env DISPLAY=":$wide" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$build/shell/recwright" stditem.dat) &
  pids+=($!)
  window=$(DISPLAY=":$wide" xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
  sleep 1
  if [ "$scale" = 2 ]; then
    # The list to the right.
    DISPLAY=":$wide" xdotool mousemove --window "$window" 400 200 click 1
    DISPLAY=":$wide" xdotool key --window "$window" --delay 30 --repeat 12 Right
    sleep 0.5
  fi
  DISPLAY=":$wide" grab "$window" "$root/docs/editor-scale$scale.png"
  echo "Saved $root/docs/editor-scale$scale.png"
done

# 8. 与文件比较 with another version of stditem.dat, made with recwright-cli: a few weights and a
# name changed, record 5 gone, a record 900 added. The picture shows the tints and the tooltip of
# a changed cell; the comparison's box, its summary above the records only in the other version,
# is taken too, and 接收 takes record 900 over. Then 导入CSV of a CSV in which a spreadsheet turned a name into "7",
# and the summary that names it.
compare_display=$(free_display $((display + 1)))
export DISPLAY=":$compare_display"
start_display "$compare_display" 1024x800
cli="$build/cli/recwright-cli"
"$cli" export "$work/stditem.dat" -o "$work/other.csv"
awk -F, -v OFS=, 'NR == 1 { print; next }
  $1 == 5 { next }
  $1 == 2 || $1 == 7 { $5 = $5 + 10 }
  $1 == 3 { $2 = "月华灵液(改)" }
  { print }
  END { line = $0; sub(/^[0-9]+,[^,]*,/, "900,新的药剂,", line); sub(/,[0-9a-f]*$/, ",", line); print line }' \
  "$work/other.csv" >"$work/other-edited.csv"
"$cli" import "$work/other-edited.csv" -o "$work/stditem-new.dat" --kind item 2>/dev/null
(cd "$work" && exec env QT_QPA_PLATFORM=xcb "$build/shell/recwright" stditem.dat) &
pids+=($!)
frame=$(xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
sleep 0.5
file_command c stditem-new.dat
# One box: the summary above the records only in the other version.
only=$(wait_window '^与\[stditem-new.dat\]比较$') || fail "No comparison's box"
sleep 0.5
grab "$only" "$root/docs/editor-compare-only.png"
echo "Saved $root/docs/editor-compare-only.png"
xdotool windowactivate --sync "$only" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+t
sleep 0.5
# The tooltip of ID 2's changed Weight (the fifth column, the second row).
xdotool mousemove --window "$frame" 345 $((menu_h + header_h + row_h + row_h / 2))
sleep 2
grab "$frame" "$root/docs/editor-compare.png"
echo "Saved $root/docs/editor-compare.png"
# 查看 ▸ 只显示不同的记录, then F8 twice: the rows that differ alone, the second difference current,
# the status bar counting the rows shown.
xdotool mousemove --window "$frame" 5 5
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
xdotool key --window "$frame" --clearmodifiers alt+v
sleep 0.4
xdotool key d
sleep 0.5
xdotool key --window "$frame" --delay 200 F8 F8
sleep 0.5
grab "$frame" "$root/docs/editor-differences.png"
echo "Saved $root/docs/editor-differences.png"
xdotool key --window "$frame" --clearmodifiers alt+v
sleep 0.4
xdotool key d
sleep 0.3

sed 's/^4,[^,]*,/4,7,/' "$work/other.csv" >"$work/from-spreadsheet.csv"
file_command m from-spreadsheet.csv
notice=$(wait_window '^提示$') || fail "No import summary"
sleep 0.5
grab "$notice" "$root/docs/editor-import.png"
echo "Saved $root/docs/editor-import.png"
xdotool windowactivate --sync "$notice" >/dev/null 2>&1 || true
xdotool key Return

# 9. On a 1920 × 1080 screen: 查看 ▸ 可调整窗口大小, the frame enlarged to the screen, then
# 查看 ▸ 适合列宽, by the menu's keys: docs/editor-resized.png, every item column in view.
big=$(free_display $((compare_display + 1)))
start_display "$big" 1920x1080
(cd "$work" && exec env DISPLAY=":$big" XDG_CONFIG_HOME="$work/config-resized" QT_QPA_PLATFORM=xcb \
  "$build/shell/recwright" stditem.dat) &
pids+=($!)
export DISPLAY=":$big"
frame=$(xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
sleep 1
view_command() { # mnemonic
  xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
  xdotool key --window "$frame" --clearmodifiers alt+v
  sleep 0.5
  xdotool key --clearmodifiers "$1"
  sleep 1
}
view_command r
frame=$(xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
xdotool windowsize "$frame" 1916 1040
sleep 1
view_command w
# The current cell on a record with its price and stock, framed, its column's title in bold.
click_at 1630 $((menu_h + header_h + 6 * row_h + row_h / 2))
grab "$frame" "$root/docs/editor-resized.png"
echo "Saved $root/docs/editor-resized.png"

# 10. On a 1600 × 1000 screen, the frame at its top left: 查看 ▸ 图表 by the menu's keys, a
# scatter plot (类型, Alt+T) of Price (纵轴, Alt+Y, its first letters typed) against NeedLevel,
# the frame made 1200 × 680, the items dearer than 4,000 at level 20 and above picked with a
# rectangle dragged over them (the places are those of this layout), the pointer resting on
# 龙鳞, the level-1 item at 5,000: docs/editor-plot.png. Then 导出图片 (Alt+P) into the work folder, which must
# give a PNG.
plot_display=$(free_display $((big + 1)))
start_display "$plot_display" 1600x1000
export DISPLAY=":$plot_display"
(cd "$work" && exec env XDG_CONFIG_HOME="$work/config-plot" QT_QPA_PLATFORM=xcb "$build/shell/recwright" stditem.dat) &
pids+=($!)
frame=$(xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
sleep 1
view_command p
# The frame, made resizable for the dock, is a window shown anew.
frame=$(xdotool search --sync --onlyvisible --name '数据文件\[stditem.dat\]')
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+t Down
sleep 0.5
xdotool key --clearmodifiers alt+y
xdotool type --delay 40 Pr
sleep 1
xdotool windowsize "$frame" 1200 680
sleep 1.5
xdotool mousemove 1025 440 mousedown 1 mousemove 1090 290 mousemove 1150 140 mouseup 1
sleep 0.5
xdotool mousemove 891 416
sleep 0.3
xdotool mousemove 892 417
sleep 2
grab "$frame" "$root/docs/editor-plot.png"
echo "Saved $root/docs/editor-plot.png"
xdotool mousemove 5 500
xdotool key --window "$frame" --clearmodifiers alt+p
wait_window '^(Save|保存|另存)' >/dev/null || fail "No save dialog for the plot's picture"
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 40 'plot-check.png'
xdotool key Return
for _ in $(seq 50); do [ -s "$work/plot-check.png" ] && break; sleep 0.1; done
[ "$(head -c 4 "$work/plot-check.png" | od -An -c | tr -d ' ')" = '211PNG' ] || fail "导出图片 wrote no PNG"
echo "Checked $work/plot-check.png: a PNG"
