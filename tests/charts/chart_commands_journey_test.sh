#!/bin/bash
# The chart's commands and the program's settings as a user works them in zpm-demo, through the
# real dialogs under a window manager: the chart's own menu ("Vergrößern", "Passend"); the hydrant
# test evaluated with a typed minimum pressure and taken into the text box; "Messwerte 1",
# "Raster", "Messpunke"; "Absolute Zeit"; the filter settings and "Filter"; "Volumen" and "Druck";
# the print preview; the tips with "Show Tips at Startup"; the logger's settings (sample interval
# sent and read back); a flow unit; a save and the end. What they change is checked on screen, in
# the saved job and in the settings file.
#   chart_commands_journey_test.sh ZPM-DEMO [SCREENSHOT-DIR]
# shellcheck disable=SC2088
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="chart commands journey"
. "$src/tests/support/journey.sh"
xsession_start
setxkbmap de || fail "no German keyboard layout"
journey_scratch
settings="$HOME/.config/zpm/zpmv48.ini"

# Places in the main window at its minimum size, from its edges.
settings_button=(334 -56)
print_button=(167 57)
flow_button=(447 57)
volume_button=(517 57)
pressure_button=(592 57)
measure_button=(34 250)
grid_button=(34 350)
points_button=(34 400)
filter_button=(34 450)
first_row=(-234 249)
chart_area="545x435+70+100"
plot_right_column="1x420+614+100"  # the chart's last pixel column
time_labels="545x40+70+500"        # the time axis' labels
readout="130x100+780+15"           # the seven-segment display of flow and pressure

picture() { import -window "$main" "$work/$1.png"; }
# Pixels that differ between two pictures (in a part of them).
differ() {  # A B GEOMETRY
  convert "$work/$1.png" -crop "$3" +repage "$work/a-part.png"
  convert "$work/$2.png" -crop "$3" +repage "$work/b-part.png"
  compare -metric AE -fuzz 2% "$work/a-part.png" "$work/b-part.png" null: 2>&1 || true
}
in_chart() { count_colour "$work/$1.png" "$2" "$chart_area"; }

start_program
expect_minimum_size

# --- The demo logger's events; the first ("Speicher 4") charted: flow with pressure, as the first
# chart shows.
download_demo_events
press "${first_row[@]}"
picture flow
flow_ink=$(in_chart flow '#0000FF')
[ "$flow_ink" -gt 1000 ] || fail "no flow line ($flow_ink pixels)"

# --- The chart's own menu (right click): "Vergrößern" at the pointer, then "Passend".
popup() {  # ITEM: the menu's n-th entry
  xdotool mousemove --window "$main" 300 300
  wait_still "$main"
  on_main "the chart's menu" xdotool click 3
  on_main "the chart's menu item $1" xdotool key $(printf 'Down %.0s' $(seq "$1")) Return
}
popup 3
picture zoomed
[ "$(differ flow zoomed "$chart_area")" -gt 2000 ] || fail "\"Vergrößern\" did not zoom"
popup 2
picture fitted
fitted_ink=$(in_chart fitted '#0000FF')
[ "$(differ zoomed fitted "$chart_area")" -gt 2000 ] && [ $((fitted_ink * 4)) -gt $((flow_ink * 3)) ] &&
  [ $((fitted_ink * 3)) -lt $((flow_ink * 4)) ] || fail "\"Passend\" did not show the whole record again"

# --- "Hydrantenprüfung auswerten" with 2.00 bar typed as the minimum pressure, into the text box.
d=$(menu_dialog "Hydrantenprüfung" alt+t End Up Return) || fail "no hydrant test dialog"
xdotool key ctrl+a
xdotool type "2.00"
xdotool key Tab
wait_still "$d"
shot hydrant-dialog
click "$d" -218 -36  # "In Textfeld übernehmen"
wait_gone "Hydrantenprüfung" || fail "the hydrant test dialog stayed"
wait_still "$main"
picture hydrant
# The phase marks' green writing went with the dialog: the chart writes in black again.
[ "$(in_chart hydrant '#125A24')" -eq 0 ] || fail "the chart's texts stayed green after the hydrant test"
# The long text box lies wholly in the chart: its grey does not reach the chart's last column.
[ "$(count_colour "$work/hydrant.png" '#C0C0C0' "$plot_right_column")" -eq 0 ] ||
  fail "the text box runs past the chart's right edge"
[ "$(in_chart hydrant '#C0C0C0')" -gt 10000 ] || fail "no text box on the chart"

# --- "Messwerte 1" and a click on the chart: cross-hair and readout; "Raster"; "Messpunke".
press "${measure_button[@]}"
press 300 300
picture measured
[ "$(differ hydrant measured "$readout")" -gt 100 ] || fail "the readout did not show the measured value"
[ "$(differ hydrant measured "$chart_area")" -gt 400 ] || fail "no cross-hair"
press "${grid_button[@]}"
picture grid
[ "$(differ measured grid "$chart_area")" -gt 500 ] || fail "no grid"
press "${points_button[@]}"
picture points
[ "$(differ grid points "$chart_area")" -gt 500 ] || fail "the points look like the lines"
press "${points_button[@]}"

# --- "Absolute Zeit": clock times with a date row under the time axis.
picture elapsed
menu alt+t Down Down Down Down Return
picture clock
[ "$(differ elapsed clock "$time_labels")" -gt 300 ] || fail "the time axis did not change to clock times"

# --- The filter: 11 points instead of 5, then "Filter": a calmer line.
d=$(menu_dialog "Filtereinstellungen" alt+t Down Down Down Down Down Down Return) ||
  fail "no filter settings dialog"
before=$(window_digest "$d")
xdotool key Right Right Right
wait_redrawn "$d" "$before" "the filter's slider"
shot filter-dialog
click "$d" 72 -26  # OK
wait_gone "Filtereinstellungen" || fail "the filter settings dialog stayed"
press "${grid_button[@]}"  # the grid off again: only the line is counted
picture unfiltered
press "${filter_button[@]}"
picture filtered
before=$(in_chart unfiltered '#0000FF')
after=$(in_chart filtered '#0000FF')
[ "$after" -gt 300 ] && [ $((after * 10)) -lt $((before * 7)) ] ||
  fail "the filtered line is not calmer: $after blue pixels, $before before"

# --- "Volumen" with "Druck" (on since the first chart): the pressure line in red.
press "${volume_button[@]}"
picture pressure
[ "$(in_chart pressure '#FF0000')" -gt 300 ] || fail "no pressure line"

# --- "Drucken": the preview shows the chart; "Close".
press "${print_button[@]}"
d=$(wait_window "Vorschau drucken") || fail "no print preview"
wait_still "$d"
import -window "$d" "$work/preview.png"
shot preview
[ "$(count_colour "$work/preview.png" '#FF0000')" -gt 200 ] || fail "the preview shows no pressure line"
click "$d" -50 22  # "Close"
wait_gone "Vorschau drucken" || fail "the preview stayed"

# --- "Help" > "Show Startup Tips": the next tip, and tips at startup ticked.
d=$(menu_dialog "Help Tips" alt+h Return) || fail "no tips"
import -window "$d" "$work/tip1.png"
before=$(window_digest "$d")
click "$d" -160 -17  # "Next Tip"
wait_redrawn "$d" "$before" "\"Next Tip\""
import -window "$d" "$work/tip2.png"
[ "$(differ tip1 tip2 "$(identify -format '%wx%h+0+0' "$work/tip1.png")")" -gt 100 ] ||
  fail "\"Next Tip\" showed the same tip"
before=$(window_digest "$d")
click "$d" 20 -19  # "Show Tips at Startup"
wait_redrawn "$d" "$before" "\"Show Tips at Startup\""
click "$d" -50 -17  # OK
wait_gone "Help Tips" || fail "the tips stayed"

# --- "Einstellungen": the sample interval two steps up, sent with "Download"; read back from the
# logger when the dialog opens again.
interval="60x40+360+192"
open_settings() {
  press "${settings_button[@]}"
  d=$(wait_window "Geräteeinstellungen") || fail "no logger settings"
  wait_active "$d"
}
open_settings
import -window "$d" "$work/settings-start.png"
for _ in 1 2; do
  before=$(window_digest "$d")
  click "$d" 483 212
  wait_redrawn "$d" "$before" "the interval's up arrow"
done
import -window "$d" "$work/settings-chosen.png"
[ "$(differ settings-start settings-chosen "$interval")" -gt 20 ] || fail "the interval did not change"
# The interval goes to the logger while the button's click is handled: the next click waits for it.
click "$d" -177 -76  # "Download"
wait_still "$d"
shot settings-sent
click "$d" -60 -76  # "Schließen"
wait_gone "Geräteeinstellungen" || fail "the logger settings stayed"
open_settings
import -window "$d" "$work/settings-again.png"
[ "$(differ settings-chosen settings-again "$interval")" -eq 0 ] ||
  fail "the logger does not hold the interval sent"
click "$d" -60 -76
wait_gone "Geräteeinstellungen" || fail "the logger settings stayed"

# --- "Durchflusseinheiten L/S": the note to start again.
menu alt+t Down Return
n=$(wait_untitled) || fail "no note to start again after the flow unit changed"
shot flow-unit-note
xdotool windowactivate --sync "$n" key Return
wait_untitled_gone || fail "the note to start again stayed"

# --- Saved, then the end: the text box and the settings on disk.
click "$main" 92 57  # "Speichern"
type_path_and_confirm "Vorgang abspeichern" "~/Messungen/hydrant" save
# The charted record is filtered: which values go into the file is asked ("Ja", the default
# button: the measured ones).
q=$(wait_window "Speichern") || fail "no question about the filtered record"
shot filtered-question
xdotool windowactivate --sync "$q" key Return
wait_gone "Speichern" || fail "the question about the filtered record stayed"
wait_title hydrant
xdotool windowactivate --sync "$main"
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end on Ctrl+Q"
app=

# The first record's text box: the figures, with the typed minimum pressure.
note=$(iconv -f latin1 -t utf-8 "$HOME/Messungen/hydrant.kvr" | sed -n 7p |
  perl -CS -ne 'print map { $_ ? chr : "" } split')
grep -qx 'Hydrantenprüfung' <<<"$note" || fail "the text box holds no hydrant test: $note"
grep -qx 'Mindestdruck: 2.00 Bar' <<<"$note" || fail "not the typed minimum pressure: $note"
available=$(sed -n 's/^Verfügbarer Durchfluss: \([0-9]*\) l\/min$/\1/p' <<<"$note")
measured=$(sed -n 's/^Durchfluss: \([0-9]*\) l\/min$/\1/p' <<<"$note")
# Below the flowing pressure, the hydrant gives more than the flow measured.
[ -n "$available" ] && [ -n "$measured" ] && [ "$available" -gt "$measured" ] ||
  fail "available flow \"$available\" against measured \"$measured\""
# Settings: tips at startup, l/s, clock time.
[ "$(sed -n '4p;5p;7p' "$settings" | tr '\n' ' ')" = "1 1 1 " ] ||
  fail "settings file: $(tr '\n' ' ' <"$settings")"
echo "chart commands journey: hydrant test in the text box, chart commands on screen, settings kept"
