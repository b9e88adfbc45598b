#!/bin/bash
# The main window and its chart as a user meets them, through the real program (zpm-demo, on its
# emulated logger) under Xvfb with a window manager:
#   - at its minimum size the right-hand column lies wholly inside the window, and GTK reports
#     nothing at start, at the minimum size or at sizes near it;
#   - a live recording shown as flow and zoomed in gets scrollbars, zoomed out again loses them;
#   - printed through the GTK print dialog ("Print to File"), the A4 page keeps 15 mm margins.
# Positions come from the window's geometry. Usage: chart_journey_test.sh PROGRAM [SCREENSHOT_DIR]
set -euo pipefail
program=$(realpath "$1")
shots=${2:-}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="chart journey"
. "$src/tests/support/journey.sh"  # count_colour; the rest is this script's own
xsession_start
export HOME=$(mktemp -d)
work=$(mktemp -d)
app=
cleanup() {
  local status=$?
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  xsession_stop
  rm -rf "$HOME" "$work"
  exit "$status"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  if [ -n "$shots" ]; then cp "$work"/*.png "$shots"/ 2>/dev/null || true; fi
  echo "--- program output:" >&2
  cat "$work/out.txt" >&2
  exit 1
}

face='#ECE9D8'
# Pixels of a scrollbar's trough: its colour in runs of 41 pixels or more along the bar (a vertical
# bar with V, a horizontal one with H), which no text or line of the chart makes.
trough() {  # FILE V|H
  local shape=1x41
  [ "$2" = H ] && shape=41x1
  convert "$1" -fuzz 1% -fill black +opaque '#CECECE' -fill white -opaque '#CECECE' \
    -morphology Erode "Rectangle:$shape" -format '%[fx:round(mean*w*h)]' info:
}
shot() { import -window "$wid" "$work/$1.png"; }
no_gtk_complaints() {
  if grep -E 'Gtk-CRITICAL|Gtk-WARNING|GLib-CRITICAL|GLib-GObject-CRITICAL|GLib-GObject-WARNING|assertion' \
    "$work/out.txt"; then
    fail "GTK complained $1"
  fi
}

# Tips off, otherwise the defaults; settings and recovery files in the scratch HOME.
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME/.config/zpm"
printf '1\n98\n0\n0\n0\n0\n0\n' >"$HOME/.config/zpm/zpmv48.ini"
cd "$work"
as_user "$program" >"$work/out.txt" 2>&1 &
app=$!
xsession_wait_window Unbennant 60 || fail "no main window"
# The splash screen goes after two seconds: then the main window is the program's only one.
for _ in $(seq 100); do
  [ "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)" -le 1 ] && break
  sleep 0.1
done
wid=$(xdotool search --onlyvisible --name Unbennant | head -1)
main=$wid
wait_still "$wid"
no_gtk_complaints "at start"

# --- The minimum size: asked for less, the window manager keeps what the program needs.
xdotool windowsize "$wid" 200 150
wait_still "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
W=$WIDTH
H=$HEIGHT
[ "$W" -gt 600 ] && [ "$H" -gt 400 ] || fail "the window shrank to ${W}x$H"
shot minimum
# The rightmost three pixel columns of the panel show its face colour from top to bottom: no
# button or frame of the right-hand column reaches the edge.
rows=$(convert "$work/minimum.png" -crop "3x$H+$((W - 3))+0" +repage -scale "1x$H!" txt:- |
  awk -v face="$face" 'NR > 1 { print ($3 == face) ? 1 : 0 }' | tr -d '\n')
panel=$(echo "$rows" | sed -E 's/^0*//; s/0*$//')
[ ${#panel} -gt $((H / 2)) ] || fail "no panel along the right edge: $rows"
case "$panel" in *0*) fail "something reaches the right edge of the window (rows $rows)" ;; esac
# The last panel row sits right above the status bar; the frame of "Gerätestatus" closes there,
# inside the window.
bottom=$(($(echo "$rows" | sed -E 's/0*$//' | wc -c) - 2))
closed=
for y in $(seq $((bottom - 3)) "$bottom"); do
  border=$((W / 4 - 20 - $(count_colour "$work/minimum.png" "$face" "$((W / 4 - 20))x1+$((W * 3 / 4))+$y")))
  [ "$border" -gt $((W / 5)) ] && closed=1
done
[ -n "$closed" ] || fail "the frame of the status box does not close above the status bar"
for size in "37 23" "151 88" "402 317" "0 0"; do
  set -- $size
  timeout 10 xdotool windowsize --sync "$wid" $((W + $1)) $((H + $2)) || fail "not resized to +$1+$2"
done
no_gtk_complaints "at or near the minimum size"

# --- A live recording of a few seconds, shown as flow (with pressure, the first chart's modes);
# recording stopped.
press $((W * 203 / 1000)) $((H - 60)) # "Record live data"
# The chart shows the flow from the first ticks; the recording is to hold some four seconds (the
# logger sends a sample a second), so it runs on for three before it is stopped.
flow_shown() {
  shot flow
  [ "$(count_colour "$work/flow.png" '#0000FF')" -gt 100 ]
}
for _ in $(seq 10); do flow_shown && break; sleep 0.5; done
flow_shown || fail "no flow series on the chart"
sleep 3
press $((W * 261 / 1000)) $((H - 60)) # "Stop live data capture"
wait_still "$wid"
shot flow
[ "$(trough "$work/flow.png" V)" -eq 0 ] && [ "$(trough "$work/flow.png" H)" -eq 0 ] ||
  fail "scrollbars on a fitted chart"
# Zoomed in six times: both scrollbars; zoomed out as often: gone again.
for _ in 1 2 3 4 5 6; do press 34 134; done # "Vergrößern", each step drawn
for _ in $(seq 25); do
  shot zoomed
  [ "$(trough "$work/zoomed.png" V)" -gt 1000 ] && [ "$(trough "$work/zoomed.png" H)" -gt 1000 ] && break
  sleep 0.2
done
[ "$(trough "$work/zoomed.png" V)" -gt 1000 ] && [ "$(trough "$work/zoomed.png" H)" -gt 1000 ] ||
  fail "no scrollbars after zooming in"
for _ in 1 2 3 4 5 6; do press 34 183; done # "Verkleinern"
for _ in $(seq 25); do
  shot unzoomed
  [ "$(trough "$work/unzoomed.png" V)" -eq 0 ] && [ "$(trough "$work/unzoomed.png" H)" -eq 0 ] && break
  sleep 0.2
done
[ "$(trough "$work/unzoomed.png" V)" -eq 0 ] && [ "$(trough "$work/unzoomed.png" H)" -eq 0 ] ||
  fail "scrollbars stay after zooming out"
for _ in 1 2 3 4 5 6; do press 34 134; done

# --- Printing: "Datei" > "Diagramm Drucken", the GTK dialog's "Print to File", Print.
press 24 12
on_main "the file menu" xdotool key Down Down Down Down Return
print_to_file
no_gtk_complaints "while printing"

pdfinfo output.pdf | grep -q '^Pages: *1$' || fail "not one page"
pdfinfo output.pdf | grep -q 'Page size: *595.2[0-9]* x 841.8[0-9]* pts (A4)' || fail "not A4"
# 15 mm are 42.52 pt: every word of the page starts inside them (a label the chart's edge cuts
# off runs on under the clip, as on screen; the ink below shows what is printed), the product line
# at the corner.
words=$(pdftotext -bbox output.pdf - | grep '<word')
echo "$words" | awk -F'"' '
  { if ($2 < 42.5 || $2 > 552.8 || $4 < 42.5 || $8 > 799.4) { print "outside the margins: " $0; bad = 1 } }
  END { exit bad }' || fail "text in the margins"
echo "$words" | grep 'Zepmonic,' | awk -F'"' '{ exit !($2 < 46 && $4 < 46) }' ||
  fail "the product line is not in the corner inside the margins"
# The ink of the whole page (lines included): inside the margins, the chart across their width.
pdftoppm -r 72 -png output.pdf "$work/page"
box=$(convert "$work/page-1.png" -fuzz 2% -format '%@' info:)  # WxH+X+Y
read -r bw bh bx by <<<"$(echo "$box" | tr 'x+' '  ')"
[ "$bx" -ge 42 ] && [ "$by" -ge 42 ] && [ $((bx + bw)) -le 554 ] && [ $((by + bh)) -le 801 ] ||
  fail "ink in the margins: $box"
[ "$bw" -ge 505 ] || fail "the chart does not span the width between the margins: $box"

if [ -n "$shots" ]; then cp "$work"/*.png "$work/output.pdf" "$shots"/; fi
echo "minimum ${W}x$H, scrollbars when zoomed, page ink $box inside 15 mm margins"
