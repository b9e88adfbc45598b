#!/bin/bash
# A user's session with the demo logger, through the real program and the real GTK file dialogs:
# download the events, chart one, save by typing a path with a sub-folder into the name field,
# open that file again, export CSV and the chart as PNG to typed paths, then start the program
# again and open the job once more. Every file is checked on disk, byte by byte and read back.
#   file_journey_test.sh ZPM_DEMO [SCREENSHOT_DIR]
# The "~/…" paths are typed into the dialogs as a user types them, unexpanded.
# shellcheck disable=SC2088
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="file journey"
. "$src/tests/support/journey.sh"
xsession_start
journey_scratch
dir="$HOME/Messungen"

# The 480000 job file read back line by line, independently of the program: one summary line per
# record (title, date, sample count) and every sample as "time flow volume pressure" (the CSV
# order) into $2.
read_job() {
  awk -v samples="$2" -v num='-?[0-9]+\.[0-9][0-9][0-9][0-9][0-9][0-9]' '
    function bad(why) { print "job file line " NR ": " why > "/dev/stderr"; failed = 1; exit 1 }
    NR == 1 { if ($0 != "480000") bad("version " $0); next }
    NR == 2 { n = $0; k = 0; at = "title"; next }
    at == "title"  { title = $0; at = "date"; next }
    at == "date"   { date = $0; fixed = 0; at = "fixed"; next }
    at == "fixed"  { if (++fixed == 9) at = "count"; next }  # subtitle, serial … spare flag
    at == "count"  { m = $0 + 0; seen = 0; k++; print title "|" date "|" m; at = m ? "sample" : "title"; next }
    at == "sample" {
      if ($0 !~ ("^" num " " num " " num " " num "$")) bad("sample line \"" $0 "\"")
      if (k == 1) print $1, $2, $4, $3 > samples
      if (++seen == m) at = "title"
      next
    }
    END { if (!failed && (k != n || at != "title")) { print "job file: " k " of " n " records, ends in " at > "/dev/stderr"; exit 1 } }
  ' "$1"
}

# Positions of the main window's controls, from its edges.
save_button=(92 57)
open_button=(27 58)
image_button=(232 58)
first_row=(-234 249)
list_area="262x298+$((954 - 273))+217"  # the record list, for comparing what it shows

list_picture() { import -window "$1" -crop "$list_area" +repage "$work/$2.png"; }
record_buttons="270x80+$((954 - 275))+130"  # "Löschen" … "Zielfluss": black labels when enabled
dark_pixels() {  # FILE GEOMETRY: pixels darker than the grey of a disabled label
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 30% -negate -format '%[fx:round(mean*w*h)]' info:
}

# 1. Download the demo logger's events; "No" to saving them now.
start_program
expect_minimum_size
download_demo_events
list_picture "$main" list-downloaded

# 2. Chart the first record: flow with pressure, as the first chart shows.
press "${first_row[@]}"
shot chart
import -window "$main" "$work/charted.png"
[ "$(dark_pixels "$work/charted.png" "$record_buttons")" -gt 50 ] ||
  fail "the record buttons are not enabled with a record selected"

# 3. Save, typing a path with a sub-folder into the name field.
click "$main" "${save_button[@]}"
type_path_and_confirm "Vorgang abspeichern" "~/Messungen/demo1" save
wait_title demo1
[ -f "$dir/demo1.kvr" ] || fail "demo1.kvr is not in ~/Messungen"
stray=$(find "$work" -name 'demo1*' ! -path "$dir/demo1.kvr")
[ -z "$stray" ] || fail "written elsewhere: $stray"
summary=$(read_job "$dir/demo1.kvr" "$work/samples")
echo "$summary"
[ "$(wc -l <<<"$summary")" = 4 ] || fail "the demo logger has four events"
grep -q '^Speicher 4|' <<<"$(head -n 1 <<<"$summary")" || fail "the first record is not \"Speicher 4\""
cp "$dir/demo1.kvr" "$work/first.kvr"

# 4. Open it again: the same record list, no record charted, and saving it again writes the same
#    bytes.
click "$main" "${open_button[@]}"
type_path_and_confirm "KVR ZPM-Vorgang öffnen" "~/Messungen/demo1.kvr" open
wait_title demo1.kvr
wait_still "$main"
list_picture "$main" list-opened
[ "$(compare -metric AE "$work/list-downloaded.png" "$work/list-opened.png" null: 2>&1)" = 0 ] ||
  fail "the record list after opening differs from the downloaded one"
# The chart shows none of the records it showed before (axes and the legend's line stay): the user
# picks one of those opened.
import -window "$main" "$work/opened.png"
[ "$(count_colour "$work/opened.png" '#0000FF' "490x360+122+140")" -eq 0 ] ||
  fail "the chart still shows a record after opening"
[ "$(dark_pixels "$work/opened.png" "$record_buttons")" -eq 0 ] ||
  fail "the record buttons stay enabled after opening, with no record selected"
inode=$(stat -c %i "$dir/demo1.kvr")
click "$main" "${save_button[@]}"
for _ in $(seq 50); do [ "$(stat -c %i "$dir/demo1.kvr")" != "$inode" ] && break; sleep 0.1; done
[ "$(stat -c %i "$dir/demo1.kvr")" != "$inode" ] || fail "saving the opened job wrote nothing"
cmp "$work/first.kvr" "$dir/demo1.kvr" || fail "the opened job saves to other bytes"

# 4a. "Durchflusseinheiten M³/h": the note asks to start again, and the records already here stay
#     in the l/min their values are in (the CSV below says so, and the chart's axis).
flow_unit() {  # the item's place in the "Daten" menu
  local keys=() note
  for _ in $(seq "$1"); do keys+=(Down); done
  menu alt+t "${keys[@]}" Return
  note=$(wait_untitled) || fail "no note after choosing a flow unit"
  xdotool windowactivate --sync "$note" key Return
  wait_untitled_gone || fail "the note about the flow unit stayed"
}
flow_unit 2
click "$main" "${first_row[@]}"
shot chart-after-cubic-metres

# 5. Export the first record as CSV to a typed path.
menu alt+t Down Down Down Down Down Return  # the four flow units, "Absolute Zeit", the export
type_path_and_confirm "Exportieren nach Excel" "~/Messungen/tabelle" csv
csv="$dir/tabelle.csv"
for _ in $(seq 50); do [ -f "$csv" ] && break; sleep 0.1; done
[ -f "$csv" ] || fail "tabelle.csv is not in ~/Messungen"
first=$(head -n 1 <<<"$summary")
date=$(cut -d'|' -f2 <<<"$first")
diff <(head -n 6 "$csv") - <<EOF || fail "CSV header"
File Name,$csv
Title,Speicher 4 $date
Information,
Flow Measurement,,L/min
Pressure Measurement,,Bar
Zeit (s), Durchfluss (L/min), Volumen (L), Druck (Bar)
EOF
# Every sample of the record, two decimals, in the CSV's column order.
diff <(tail -n +7 "$csv") <(awk '{ printf "%.2f,%.2f,%.2f,%.2f\n", $1, $2, $3, $4 }' "$work/samples") >/dev/null ||
  fail "the CSV samples differ from the job file's"
echo "CSV: $(($(wc -l <"$csv") - 6)) samples"
flow_unit 0  # back to l/min for the records made next

# 6. The chart as PNG to a typed path: type the name, choose PNG in the type list.
click "$main" "${image_button[@]}"
d=$(wait_window "Bild speichern als") || fail "no image dialog"
wait_active "$d"
before=$(window_digest "$d")
click "$d" -92 -71  # the type list above the buttons
wait_redrawn "$d" "$before" "the type list"
before=$(window_digest "$d")
xdotool key Down Return
wait_redrawn "$d" "$before" "the PNG type"
type_path_and_confirm "Bild speichern als" "~/Messungen/bild" image
png="$dir/bild.png"
for _ in $(seq 50); do [ -f "$png" ] && break; sleep 0.1; done
[ -f "$png" ] || fail "bild.png is not in ~/Messungen"
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "bild.png is no PNG file"
read -r format width height < <(identify -format '%m %w %h\n' "$png")
if [ "$format" != PNG ] || ((width < 300 || height < 200)); then
  fail "bild.png reads as $format ${width}x$height"
fi
# The blue flow line is in the picture.
blue=$(convert "$png" -fx 'b > 0.7 && r < 0.3 && g < 0.3' -format '%[fx:round(mean*w*h)]' info:)
((blue > 100)) || fail "bild.png shows no flow line ($blue blue pixels)"
echo "PNG: ${width}x$height, $blue blue pixels"

# 7. Start again and open the job once more, this time picked with the mouse: "Home" in the
#    dialog's side bar, into its only folder, click the only job file there, "Open".
wmctrl -c demo1.kvr
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not close after saving"
wait "$app" || fail "the program ended with status $?"
start_program
click "$main" "${open_button[@]}"
d=$(wait_window "KVR ZPM-Vorgang öffnen") || fail "no open dialog"
wait_active "$d"
in_dialog() {  # WHAT COMMAND...: an action in the open dialog, waited for until it is drawn
  local what=$1 before
  shift
  before=$(window_digest "$d")
  "$@"
  wait_redrawn "$d" "$before" "$what"
}
in_dialog "\"Home\"" click "$d" 57 59  # its first entry, Messungen, is selected
in_dialog "into Messungen" xdotool key Return
in_dialog "the file row" click "$d" 500 83  # the first file row
shot dialog-reopen
for _ in 1 2 3; do
  click "$d" -50 -26 2>/dev/null || ! window_id "KVR ZPM-Vorgang öffnen" >/dev/null || fail "cannot click \"Open\""
  wait_gone "KVR ZPM-Vorgang öffnen" 20 && break
done
wait_title demo1.kvr
wait_still "$main"
list_picture "$main" list-reopened
[ "$(compare -metric AE "$work/list-downloaded.png" "$work/list-reopened.png" null: 2>&1)" = 0 ] ||
  fail "the record list after starting again differs"
inode=$(stat -c %i "$dir/demo1.kvr")
click "$main" "${save_button[@]}"
for _ in $(seq 50); do [ "$(stat -c %i "$dir/demo1.kvr")" != "$inode" ] && break; sleep 0.1; done
cmp "$work/first.kvr" "$dir/demo1.kvr" || fail "the job saves to other bytes after starting again"
shot reopened

# Exactly the three files, all in ~/Messungen.
files=$(find "$HOME" "$work/cwd" -type f ! -path '*/.*' ! -name zpmv48.ini | sort)
[ "$files" = "$dir/bild.png"$'\n'"$dir/demo1.kvr"$'\n'"$dir/tabelle.csv" ] || fail "files written: $files"
wmctrl -c demo1.kvr
echo "every file where the user chose it"
