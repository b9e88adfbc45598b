#!/bin/bash
# The program as a user starts it: the real binary under Xvfb with a window manager and a fresh
# HOME shows its main window, closes on a window-manager close, and leaves the settings file in
# the desktop's configuration folder.
set -euo pipefail
program=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
xsession_start
export HOME=$(mktemp -d)
unset XDG_CONFIG_HOME XDG_DATA_HOME  # the desktop folders of the scratch HOME
trap 'xsession_stop; rm -rf "$HOME"' EXIT

"$program" &
app=$!
xsession_wait_window Unbennant 60 || { echo "no main window" >&2; exit 1; }
wmctrl -l
# The first start shows the tips beside the main window.
wmctrl -l | grep -q "Help Tips" || { echo "no startup tips on the first start" >&2; exit 1; }
wmctrl -c Unbennant
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  kill "$app"
  echo "the program did not close" >&2
  exit 1
fi
wait "$app"
expected=$'1\n98\n0\n1\n0\n0\n0'
actual=$(cat "$HOME/.config/zpm/zpmv48.ini")
[ "$actual" = "$expected" ] || { echo "settings file: $actual" >&2; exit 1; }
[ ! -e "$HOME/zpmv48.ini" ] || { echo "a settings file in the home folder itself" >&2; exit 1; }
echo "started, closed, settings written"
