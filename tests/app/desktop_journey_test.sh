#!/bin/bash
# Job files from the desktop, as a user meets them with the real zpm-demo under a window manager:
# --version and --help answer without a display; "zpm-demo FILE.kvr" opens the file at start;
# Ctrl+S saves it again; a .kvr dragged onto the window opens; Ctrl+Q ends the program; a second
# zpm hands its file to the first.
#   desktop_journey_test.sh ZPM-DEMO ZPM DRAG-SOURCE
set -euo pipefail
export LC_ALL=C.UTF-8  # the journey's own tools type and read UTF-8 whatever the shell set
unset LANG LANGUAGE
demo=$(realpath "$1")
zpm=$(realpath "$2")
drag=$(realpath "$3")
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  xsession_stop 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  wmctrl -l >&2 2>/dev/null || true
  exit 1
}

# 1. Information without a display, from both programs.
for program in "$demo" "$zpm"; do
  name=$(basename "$program")
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version) || fail "$name --version: status $?"
  [ "$version" = "ZPM 4.8" ] || fail "$name --version printed '$version'"
  usage=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help) || fail "$name --help: status $?"
  grep -q "^Usage: $name \[OPTION\] \[FILE.kvr\]$" <<<"$usage" || fail "$name --help printed '$usage'"
done
echo "--version and --help answer without a display"

# 2. A job file of two records, laid out byte for byte as the program writes it.
cd "$work"
mkdir home
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR  # the desktop folders of the scratch HOME
mkdir -p "$HOME/.config/zpm"
printf '1\n98\n0\n0\n0\n0\n0\n' >"$HOME/.config/zpm/zpmv48.ini"
job() {
  printf '480000\n2\n%s\n24/03/2023 14:05:09\nStrang A\n4711\n72 105 0 \n10 20\n0.000000\n1000\n98\n1 0\n0\n3\n' "$1"
  printf '1.000000 100.000000 2.500000 1.500000\n2.000000 200.000000 2.250000 5.000000\n3.000000 300.000000 2.000000 10.000000\n'
  printf '%s\n25/03/2023 10:00:00\n\n0\n0 \n0 0\n0.500000\n2000\n98\n1 0\n0\n1\n2.000000 5.000000 0.500000 0.166667\n' "$1 B"
}
job "Hydrant Nord" >"Prüfung Nord.kvr"
job "Hydrant Süd" >b.kvr
cp "Prüfung Nord.kvr" a.original

. "$src/scripts/xsession.sh"
xsession_start

# An unknown option ends the program at once with a word on standard error.
if "$demo" --bogus 2>bogus.err; then fail "--bogus was accepted"; fi
grep -q -- "--bogus" bogus.err || fail "no word about --bogus: $(cat bogus.err)"

# 3. The file named on the command line is open (of several, the first): the window carries its
#    name. The program starts without any locale variables (a bare root shell, a container), and
#    the umlaut of the name survives.
env -u LC_ALL -u LC_CTYPE -u LANG -u LANGUAGE "$demo" "Prüfung Nord.kvr" b.kvr 2>demo.err &
app=$!
xsession_wait_window "Prüfung Nord.kvr" 60 || fail "the window does not show Prüfung Nord.kvr: $(cat demo.err)"
wid=$(xsession_find_window '^Prüfung Nord\.kvr$') || fail "no window Prüfung Nord.kvr"
# The splash screen goes after 2 s; keys go to the main window after that.
for _ in $(seq 50); do [ "$(wmctrl -l | wc -l)" -eq 1 ] && break; sleep 0.1; done
echo "zpm-demo \"Prüfung Nord.kvr\" b.kvr opened the first"

# 4. Ctrl+S writes the job again to the same file, without a dialog: the file that was moved
#    away comes back with the same bytes, so every record was read and written.
mv "Prüfung Nord.kvr" a.moved
xdotool windowactivate --sync "$wid"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 100); do [ -s "Prüfung Nord.kvr" ] && break; sleep 0.1; done
[ -s "Prüfung Nord.kvr" ] || fail "Ctrl+S wrote no Prüfung Nord.kvr"
cmp "Prüfung Nord.kvr" a.original || fail "Ctrl+S wrote other bytes than the file read"
echo "Ctrl+S saved the job"

# 5. b.kvr dragged from another program and dropped onto the chart area opens (the job is saved,
#    so nothing is asked).
"$drag" "$work/b.kvr" >drag.out 2>drag.err &
dragger=$!
xsession_wait_window "drag source" 30 || fail "no drag source window"
sid=$(xsession_find_window '^drag source$') || fail "no drag source window"
eval "$(xdotool getwindowgeometry --shell "$sid")"
sx=$((X + WIDTH / 2)) sy=$((Y + HEIGHT / 2))
eval "$(xdotool getwindowgeometry --shell "$wid")"
tx=$((X + WIDTH / 2)) ty=$((Y + HEIGHT / 2))
xdotool mousemove --sync "$sx" "$sy"
xdotool mousedown 1
sleep 0.3
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove --sync $((sx + (tx - sx) * step / 8)) $((sy + (ty - sy) * step / 8))
  sleep 0.1
done
sleep 0.3
xdotool mouseup 1
wait "$dragger" || true
xsession_wait_window b.kvr 10 || fail "the dropped b.kvr did not open (drag source: $(cat drag.out drag.err))"
grep -qx copied drag.out || fail "the drop was not accepted: $(cat drag.out)"
echo "a dropped b.kvr opened"

# 6. Ctrl+Q ends the program; nothing is left unsaved, so nothing is asked.
quit() {  # TITLE-PATTERN NAME ERRORS: Ctrl+Q in that window ends the program ($app) with status 0
  local wid
  wid=$(xsession_find_window "$1") || fail "no window $1"
  xdotool windowactivate --sync "$wid"
  xdotool key --clearmodifiers ctrl+q
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "Ctrl+Q did not end $2"
  wait "$app" || fail "$2 ended with status $?: $(tail -n 5 "$3")"
  app=
}
quit '^b\.kvr$' zpm-demo demo.err
echo "Ctrl+Q ended the program"

# 7. One zpm at a time: a second start hands its job file to the zpm already running and ends;
#    the first window opens it. zpm-demo, with a logger of its own, counts apart.
"$zpm" 2>zpm.err &
app=$!
xsession_wait_window "Unbennant" 60 || fail "zpm did not start: $(cat zpm.err)"
for _ in $(seq 50); do [ "$(wmctrl -l | wc -l)" -eq 1 ] && break; sleep 0.1; done
timeout 20 "$zpm" "Prüfung Nord.kvr" 2>second.err || fail "the second zpm ended with status $?: $(cat second.err)"
kill -0 "$app" 2>/dev/null || fail "the first zpm ended: $(cat zpm.err)"
xsession_wait_window "Prüfung Nord.kvr" 30 || fail "the first zpm did not open the handed-over file"
[ "$(wmctrl -l | wc -l)" -eq 1 ] || fail "more than one window: $(wmctrl -l)"
"$demo" b.kvr 2>demo2.err &
demo2=$!
xsession_wait_window "b.kvr" 60 || fail "zpm-demo did not start beside zpm: $(cat demo2.err)"
kill "$demo2"
status=0
wait "$demo2" || status=$?
[ "$status" -eq 143 ] || fail "zpm-demo beside zpm ended with status $status: $(cat demo2.err)"
quit '^Prüfung Nord\.kvr$' zpm zpm.err
echo "a second zpm handed its file to the first and ended"
