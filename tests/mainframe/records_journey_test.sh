#!/bin/bash
# The record commands as a user works them in zpm-demo, through the real dialogs under a window
# manager: download the demo logger's events; on the first record "Namen", "Untertitel",
# "Textfeld" (two lines) and "Zielfluss" (then "nan", which must change nothing); "Löschen" of
# another record; "Linienfarbe" and "Linienstärke" of the flow line; "Gerätespeicher löschen"
# with its question; then a save. The saved job is read back from disk; colour, width and the
# logger's memory gauge are checked on screen.
#   records_journey_test.sh ZPM-DEMO [SCREENSHOT-DIR]
# shellcheck disable=SC2088
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="records journey"
. "$src/tests/support/journey.sh"
xsession_start
# A German keyboard, as the user's: "ü" has a key of its own (typing a character the layout lacks
# makes xdotool remap a key while the program reads it, and a letter can get lost).
setxkbmap de || fail "no German keyboard layout"
journey_scratch

# Places in the main window at its minimum size, from its edges (negative: from the right or
# bottom edge).
erase_button=(418 -56)
save_button=(92 57)
delete_button=(-261 148)
rename_button=(-160 148)
subtitle_button=(-59 148)
note_button=(-261 187)
target_button=(-160 187)
row() { echo "-234 $((249 + 21 * ($1 - 1)))"; }  # the list's row N (1 = the first)
chart_area="545x435+70+100"
gauge_area="230x10+648+586"  # the logger memory gauge in "Gerätestatus"

# Types a text into the entry dialog titled $1 and confirms it with Return.
answer_text() {
  local d
  d=$(wait_window "$1") || fail "no dialog \"$1\""
  wait_active "$d"
  xdotool key ctrl+a
  xdotool type --delay 10 "$2"
  xdotool key Return
  wait_gone "$1" || fail "the dialog \"$1\" stayed"
  wait_still "$main"
}
main_picture() { import -window "$main" "$work/$1.png"; }

start_program
expect_minimum_size

# --- The demo logger's four events, not saved yet.
download_demo_events

# --- The first record ("Speicher 4"): name, subtitle, two lines of text, target flow.
press $(row 1)
click "$main" "${rename_button[@]}"
answer_text "Titel ändern" "Hydrant 7 Süd"
click "$main" "${subtitle_button[@]}"
answer_text "Weitere Informationen .." "Ringleitung Ost, DN 100"
click "$main" "${note_button[@]}"
d=$(wait_window "Weitere Informationen ..") || fail "no text box dialog"
wait_active "$d"
xdotool type --delay 10 "Schieber 2 offen"
xdotool key Return
xdotool type --delay 10 "Nennweite DN 80"
shot text-box-dialog
# Several lines: the dialog has room for them.
eval "$(xdotool getwindowgeometry --shell "$d" | grep -E '^(WIDTH|HEIGHT)=')"
[ "$HEIGHT" -ge 150 ] || fail "the text box dialog is only $HEIGHT pixels high"
click "$d" -60 -26  # OK; Return would start a third line
wait_gone "Weitere Informationen .." || fail "the text box dialog stayed"
click "$main" "${target_button[@]}"
answer_text "Zielfluss" "850"
click "$main" "${target_button[@]}"
answer_text "Zielfluss" "nan"

# Charted as flow (with pressure, since the first chart): the target-flow line and the text box
# are on the chart.
main_picture flow
[ "$(count_colour "$work/flow.png" '#00FF00' "$chart_area")" -gt 300 ] || fail "no target-flow line"
[ "$(count_colour "$work/flow.png" '#0000FF' "$chart_area")" -gt 300 ] || fail "no blue flow line"

# --- "Löschen" of the third row ("Speicher 2").
press $(row 3)
press "${delete_button[@]}"

# --- "Linienfarbe" > "Durchfluss": the dialog starts at the line's blue; #C000C0 typed, Select.
press $(row 1)
d=$(menu_dialog "Choose colour" alt+g Right Return) || fail "no colour dialog"
import -window "$d" "$work/colour-dialog.png"
shot colour-dialog
# The swatch of the chosen colour, left below the colour wheel.
[ "$(count_colour "$work/colour-dialog.png" '#0000FF' "100x20+20+220")" -gt 1500 ] ||
  fail "the colour dialog does not start at the line's colour"
click "$d" -286 155  # "Color name"
xdotool key ctrl+a
xdotool type "#C000C0"
xdotool key Tab
wait_still "$d"
click "$d" -58 -30  # "Select"
wait_gone "Choose colour" || fail "the colour dialog stayed"
coloured() {
  main_picture coloured
  wide=$(count_colour "$work/coloured.png" '#C000C0' "$chart_area")
  [ "$wide" -gt 1500 ]
}
eventually coloured || fail "the flow line is not #C000C0 ($wide pixels)"
[ "$(count_colour "$work/coloured.png" '#0000FF' "$chart_area")" -lt 50 ] || fail "blue is left on the chart"

# --- "Linienstärke" > "Durchfluss": the chosen colour's line (width 5) down to width 1.
d=$(menu_dialog "Diagrammlinienart" alt+g Down Right Return) || fail "no line width dialog"
before=$(window_digest "$d")
xdotool key Up Up Up Up
wait_redrawn "$d" "$before" "the line width's choice"
shot width-dialog
click "$d" 40 -25  # OK
wait_gone "Diagrammlinienart" || fail "the line width dialog stayed"
# A one-pixel line shows its full colour where it runs straight; the wide one filled five times
# as many pixels.
thin() {
  main_picture thin
  thin=$(count_colour "$work/thin.png" '#C000C0' "$chart_area")
  [ "$thin" -gt 50 ] && [ $((thin * 3)) -lt "$wide" ]
}
eventually thin || fail "the line is not thinner: $thin of $wide pixels"

# --- "Gerätespeicher löschen": the question, OK; the memory gauge empties.
main_picture before-erase
[ "$(count_colour "$work/before-erase.png" '#3584E4' "$gauge_area")" -gt 5 ] ||
  fail "the memory gauge shows no stored events before erasing"
click "$main" "${erase_button[@]}"
q=$(wait_window "Achtung: Daten werden gelöscht") || fail "no erase question"
shot erase-question
click "$q" -130 -15  # "OK", the right half of the buttons row
wait_gone "Achtung: Daten werden gelöscht" || fail "the erase question stayed"
erased() {
  main_picture after-erase
  [ "$(count_colour "$work/after-erase.png" '#3584E4' "$gauge_area")" -eq 0 ]
}
eventually erased || fail "the memory gauge still shows stored events"

# --- Saved to ~/Messungen/pruefung and read back.
click "$main" "${save_button[@]}"
type_path_and_confirm "Vorgang abspeichern" "~/Messungen/pruefung" save
wait_title pruefung
job="$HOME/Messungen/pruefung.kvr"
[ -s "$job" ] || fail "no $job"
# One line per record: title|subtitle|text box codes|target flow|samples (texts are Latin-1).
records=$(iconv -f latin1 -t utf-8 "$job" | awk '
  NR == 2 { n = $0; at = "title"; next }
  NR < 3 { next }
  at == "title" { title = $0; k = 0; at = "fixed"; next }
  at == "fixed" {
    k++
    if (k == 2) subtitle = $0
    if (k == 4) codes = $0
    if (k == 6) target = $0
    if (k == 11) { m = $0 + 0; print title "|" subtitle "|" codes "|" target "|" m; seen = 0; at = m ? "sample" : "title" }
    next
  }
  at == "sample" { if (++seen == m) at = "title" }')
codes="$(printf 'Schieber 2 offen\nNennweite DN 80' | od -An -tu1 -v | tr -s ' \n' ' ' | sed 's/^ //')0 "
expected="Hydrant 7 Süd|Ringleitung Ost, DN 100|$codes|850.000000|600"
[ "$(sed -n 1p <<<"$records")" = "$expected" ] ||
  fail "the first record reads \"$(sed -n 1p <<<"$records")\", not \"$expected\""
[ "$(cut -d'|' -f1 <<<"$records" | tr '\n' ',')" = "Hydrant 7 Süd,Speicher 3,Speicher 1," ] ||
  fail "the records are $(cut -d'|' -f1 <<<"$records" | tr '\n' ',')"
[ "$(sed -n 2p <<<"$records" | cut -d'|' -f5)" = 95 ] || fail "\"Speicher 3\" lost samples"
[ "$(find "$HOME" -name '*.kvr' | wc -l)" -eq 1 ] || fail "job files elsewhere: $(find "$HOME" -name '*.kvr')"
echo "records journey: three records saved as edited, colour and width on screen, logger erased"
