# Sourced by the scripts that drive the editor's real window: virtual displays with a window
# manager, and on exit everything they started stopped and the work folder ($work) removed.
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ -z "${work:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*" >&2; exit 1; }

# The first display number from n on that no X server holds.
free_display() { # [n]
  local n=${1:-99}
  while [ -e "/tmp/.X${n}-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

# An X server on :n with one screen of the size given, and a window manager on it, once it answers.
start_display() { # n WIDTHxHEIGHT
  Xvfb ":$1" -screen 0 "$2x24" -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do DISPLAY=":$1" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  DISPLAY=":$1" openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
}

# Waits for a visible window whose title matches, and prints its id; tries are a tenth of a
# second each (WAIT_TRIES, or 100).
wait_window() { # pattern [tries]
  local id
  for _ in $(seq "${2:-${WAIT_TRIES:-100}}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
