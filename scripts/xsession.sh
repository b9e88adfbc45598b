# Sourced by scripts that need a desktop without a screen: starts Xvfb and openbox on a free
# display and exports DISPLAY. Call xsession_stop when done (traps do it too). The screen is
# 1600x1200 unless XSESSION_SCREEN says otherwise (WIDTHxHEIGHTxDEPTH).
xsession_start() {
  local attempt
  for attempt in 1 2 3 4 5; do
    xsession_try_start && { xsession_chain_exit_trap; return 0; }
    xsession_stop
    sleep 0.$((RANDOM % 5 + 1))
  done
  echo "xsession: no X server with a window manager after $attempt attempts" >&2
  return 1
}

# The session goes when the caller's script ends, and so does whatever the caller's own exit
# trap cleans up: the trap is chained, not replaced.
xsession_chain_exit_trap() {
  local previous
  previous=$(trap -p EXIT)
  # trap -p prints: trap -- 'COMMAND' EXIT, with each ' in COMMAND written as '\''.
  previous=${previous#"trap -- '"}
  previous=${previous%"' EXIT"}
  previous=${previous//"'\\''"/"'"}
  trap "xsession_stop; ${previous}" EXIT
}

# One attempt on a display of our own: a number from a range that xvfb-run (99 upward) does not
# reach, reserved atomically with mkdir so that sessions starting side by side never share one.
xsession_try_start() {
  XSESSION_DIR=$(mktemp -d)
  local n=$((200 + RANDOM % 700))
  if [ -e "/tmp/.X$n-lock" ] || ! mkdir "/tmp/.zpm-xsession-$n" 2>/dev/null; then
    return 1
  fi
  XSESSION_LOCK="/tmp/.zpm-xsession-$n"
  Xvfb ":$n" -screen 0 ${XSESSION_SCREEN:-1600x1200x24} -nolisten tcp >/dev/null 2>&1 &
  XSESSION_XVFB=$!
  export DISPLAY=":$n"
  local up=
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && { up=1; break; }
    kill -0 "$XSESSION_XVFB" 2>/dev/null || return 1
    sleep 0.1
  done
  [ -n "$up" ] || return 1
  # The window manager gets a home of its own: sessions running side by side share nothing.
  mkdir -p "$XSESSION_DIR/wm"
  HOME="$XSESSION_DIR/wm" XDG_CONFIG_HOME="$XSESSION_DIR/wm" XDG_CACHE_HOME="$XSESSION_DIR/wm" \
    openbox >"$XSESSION_DIR/openbox.log" 2>&1 &
  XSESSION_WM=$!
  for _ in $(seq 100); do
    wmctrl -m >/dev/null 2>&1 && break
    kill -0 "$XSESSION_WM" 2>/dev/null || return 1
    sleep 0.1
  done
  wmctrl -m >/dev/null 2>&1 || return 1
  export NO_AT_BRIDGE=1 GDK_BACKEND=x11
}

xsession_stop() {
  [ -n "${XSESSION_WM:-}" ] && kill "$XSESSION_WM" 2>/dev/null || true
  [ -n "${XSESSION_XVFB:-}" ] && kill "$XSESSION_XVFB" 2>/dev/null || true
  XSESSION_WM=
  XSESSION_XVFB=
  [ -n "${XSESSION_DIR:-}" ] && rm -rf "$XSESSION_DIR"
  [ -n "${XSESSION_LOCK:-}" ] && rmdir "$XSESSION_LOCK" 2>/dev/null
  XSESSION_LOCK=
  XSESSION_DIR=
  return 0
}

# Waits until a window whose title contains $1 is mapped (at most $2 seconds, default 30).
xsession_wait_window() {
  local title=$1 limit=${2:-30}
  for _ in $(seq $((limit * 10))); do
    wmctrl -l 2>/dev/null | grep -q -- "$title" && return 0
    xdotool search --onlyvisible --name -- "$title" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Prints the id of the first window whose title matches the pattern $1 (at most $2 seconds,
# default 5). xdotool walks the window tree, and a window that goes away meanwhile (a splash
# screen closing) makes one search end in an X error: such a search is simply tried again.
xsession_find_window() {
  local pattern=$1 limit=${2:-5} id
  for _ in $(seq $((limit * 10))); do
    id=$(xdotool search --name -- "$pattern" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
