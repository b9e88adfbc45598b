#!/bin/bash
# "Bereich auswerten" and "Bereich exportieren …" as a user works them in zpm-demo: a span dragged
# across the demo's first hydrant test, its readout looked at, the span exported to a typed path
# and its lines compared with the record's whole export; then the chart by keyboard: Escape leaves
# the mode, the arrows and + pan and zoom (the time axis labels change), Home fits again.
#   span_journey_test.sh ZPM-DEMO [SCREENSHOT-DIR]
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="span journey"
. "$src/tests/support/journey.sh"
xsession_start
setxkbmap de || fail "no German keyboard layout"
journey_scratch

first_row=(-234 249)
second_row=(-234 270)
chart_area="545x435+70+100"
time_labels="545x40+70+500"
picture() { import -window "$main" "$work/$1.png"; }
differ() {  # A B GEOMETRY
  convert "$work/$1.png" -crop "$3" +repage "$work/a-part.png"
  convert "$work/$2.png" -crop "$3" +repage "$work/b-part.png"
  compare -metric AE -fuzz 2% "$work/a-part.png" "$work/b-part.png" null: 2>&1 || [ $? -eq 1 ]
}

start_program
expect_minimum_size
download_demo_events
press "${first_row[@]}"
picture before

# --- "Diagramm" > "Bereich auswerten", a drag across the chart: the band and the readout.
menu alt+g Down Down Return
xdotool mousemove --window "$main" 220 300 mousedown 1
for x in 260 300 340 380 420; do xdotool mousemove --window "$main" "$x" 300; sleep 0.05; done
xdotool mouseup 1
readout_shown() {
  picture span
  readout=$(count_colour "$work/span.png" '#FFFAE1' "$chart_area")
  [ "$readout" -gt 3000 ]
}
eventually readout_shown || fail "no readout box ($readout pixels)"
wait_still "$main"
picture span
[ -z "$shots" ] || cp "$work/span.png" "$shots/span-readout.png"
[ "$(differ before span "$chart_area")" -gt 8000 ] || fail "no band over the span"

# --- The whole record's export, then the span's through "Bereich exportieren …".
menu alt+t Down Down Down Down Down Return
type_path_and_confirm "Exportieren nach Excel" "$work/whole.csv" whole
menu alt+g Down Down Down Return
type_path_and_confirm "Exportieren nach Excel" "$work/bereich.csv" span
eventually test -s "$work/bereich.csv" -a -s "$work/whole.csv" || fail "no exported files"
python3 - "$work/whole.csv" "$work/bereich.csv" <<'PY' || fail "the span's file is not the whole export's lines of the span"
import sys
whole = open(sys.argv[1], encoding="latin-1").read().split("\n")
span = open(sys.argv[2], encoding="latin-1").read().split("\n")
assert span[0] == "File Name," + sys.argv[2], span[0]
assert span[1:6] == whole[1:6], (span[1:6], whole[1:6])
rows, all_rows = span[6:-1], whole[6:-1]
assert 10 < len(rows) < len(all_rows) - 10, (len(rows), len(all_rows))
start = all_rows.index(rows[0])
assert all_rows[start:start + len(rows)] == rows
print(f"span: {len(rows)} of {len(all_rows)} samples, from line {start + 7} of the whole export")
PY

# --- The chart by keyboard: a click (on the readout, which stays) gives it the focus, Escape
# leaves the span mode.
click "$main" 500 200
wait_still "$main"
on_main "Escape" xdotool key Escape
picture left
[ "$(count_colour "$work/left.png" '#FFFAE1' "$chart_area")" -lt 50 ] || fail "Escape left the readout"
# The tab order reaches the chart: from the record list back with Shift+Tab (the shorter way),
# until the chart shows the frame of the focus (nothing else of the chart changes on a Tab).
press "${second_row[@]}"
picture unfocused
reached=
for tabs in $(seq 30); do
  before=$(window_digest "$main")
  xdotool key shift+Tab
  # A Tab onto a control that shows no focus changes nothing: a second at most for it.
  for _ in $(seq 20); do [ "$(window_digest "$main")" != "$before" ] && break; sleep 0.05; done
  wait_still "$main"
  picture tabbed
  [ "$(differ unfocused tabbed "$chart_area")" -gt 300 ] && { reached=1; break; }
done
[ -n "$reached" ] || fail "Tab never reached the chart"
echo "$journey: the chart has the focus after $tabs Shift+Tabs from the record list"
shot tab-reached
on_main "the arrow key" xdotool key Right
picture panned
[ "$(differ tabbed panned "$time_labels")" -gt 200 ] || fail "the arrow key did not pan the time axis"
on_main "+" xdotool key plus plus plus
picture zoomed
[ "$(differ panned zoomed "$time_labels")" -gt 200 ] || fail "+ did not zoom the time axis"
on_main "Home" xdotool key Home
picture home
[ "$(differ tabbed home "$time_labels")" -lt 50 ] || fail "Home did not fit the chart again"
shot keyboard
echo "$journey: passed"
