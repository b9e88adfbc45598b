#!/bin/bash
# The download as a user does it in zpm-demo: a click on the upload button, and when the save
# question shows, no "Laden" progress window is left on screen to cover it. Answering No leaves
# the downloaded records in the window and the logger as it was.
#   download_journey.sh ZPM-DEMO FIND-PICTURE [SCREENSHOT-DIR]
set -euo pipefail
program=$(realpath "$1")
finder=$(realpath "$2")
shots=${3:+$(realpath "$3")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
xsession_start
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null || true; xsession_stop; rm -rf "$work"' EXIT
export HOME=$work/home
mkdir -p "$HOME"
cd "$work"
unset XDG_CONFIG_HOME XDG_DATA_HOME  # the desktop folders of the scratch HOME
mkdir -p "$HOME/.config/zpm"
printf '1\n98\n0\n0\n0\n0\n0\n' >"$HOME/.config/zpm/zpmv48.ini"  # no startup tips

fail() {
  echo "$1" >&2
  wmctrl -lG >&2 || true
  cat "$work/output" >&2 || true
  [ -n "$shots" ] && import -window root "$shots/download-journey-failed.png"
  exit 1
}

"$program" >"$work/output" 2>&1 &
app=$!
xsession_wait_window Unbennant 60 || fail "no main window"
# The splash screen covers the window for its first two seconds: look until the button shows.
pos=
for _ in $(seq 100); do
  import -window root "$work/screen.png"
  pos=$("$finder" "$work/screen.png" upload) && break
  pos=
  sleep 0.1
done
[ -n "$pos" ] || fail "the upload button is not on screen"
read -r x y <<<"$pos"
xdotool mousemove "$x" "$y" click 1

xsession_wait_window "Save new data?" 30 || fail "no save question after the download"
# The window manager has mapped the question: whatever was to stay on screen is there now.
for _ in 1 2 3; do
  if xdotool search --onlyvisible --name '^Laden$' >/dev/null 2>&1 || wmctrl -l | grep -q ' Laden$'; then
    fail "the progress window is still on screen over the save question"
  fi
  sleep 0.2
done
[ -n "$shots" ] && import -window root "$shots/download-journey-question.png"

question=$(xdotool search --onlyvisible --name 'Save new data\?' | head -1)
xdotool windowactivate --sync "$question" key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name 'Save new data\?' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name 'Save new data\?' >/dev/null 2>&1 && fail "the save question stayed"
wmctrl -l | grep -q ' Laden$' && fail "a progress window after the question"
wmctrl -l | grep -q Unbennant || fail "the main window went away"
[ -n "$shots" ] && import -window root "$shots/download-journey-after.png"
echo "downloaded; the save question showed with no progress window over it"
