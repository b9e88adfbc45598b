# Sourced by scripts that need a desktop without a screen: starts Xvfb and openbox on a free
# display and exports DISPLAY. Call xsession_stop when done (traps do it too).
xsession_start() {
  local n=${XSESSION_FIRST_DISPLAY:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  XSESSION_XVFB=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  openbox >/dev/null 2>&1 &
  XSESSION_WM=$!
  for _ in $(seq 100); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.1
  done
  export NO_AT_BRIDGE=1 GDK_BACKEND=x11
  trap xsession_stop EXIT
}

xsession_stop() {
  [ -n "${XSESSION_WM:-}" ] && kill "$XSESSION_WM" 2>/dev/null || true
  [ -n "${XSESSION_XVFB:-}" ] && kill "$XSESSION_XVFB" 2>/dev/null || true
  XSESSION_WM=
  XSESSION_XVFB=
}

# Waits until a window whose title contains $1 is mapped (at most $2 seconds, default 30).
xsession_wait_window() {
  local title=$1 limit=${2:-30}
  for _ in $(seq $((limit * 10))); do
    wmctrl -l 2>/dev/null | grep -q -- "$title" && return 0
    sleep 0.1
  done
  return 1
}
