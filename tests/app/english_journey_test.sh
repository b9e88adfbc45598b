#!/bin/bash
# ZPM in English, as a user abroad meets it: the real program (zpm-demo, on its emulated logger)
# started with LANGUAGE=en, under Xvfb with a window manager:
#   - the window is "Untitled" and GTK reports nothing about sizes;
#   - the demo download asks "Save new data?" ("No"), a record is charted and printed through the
#     GTK print dialog to PDF: the axis captions read "Flow (l/min)" and "Pressure (bar)";
#   - the logger settings dialog comes as "Logger Settings";
#   - the job is saved through the real GTK file dialog ("Save Job") to a typed path;
#   - LANG=en_US.UTF-8 alone gives English too, a language without a catalog gives German.
#   english_journey_test.sh ZPM_DEMO [SCREENSHOT_DIR]
# shellcheck disable=SC2088
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="english journey"
. "$src/tests/support/journey.sh"
xsession_start
journey_scratch

# Places in the main window at its minimum size in English (wider than in German: "Target Flow"
# and the list's columns), from its edges.
save_button=(97 57)
settings_button=(329 -58)
upload_button_x=467  # 58 px above the bottom edge, as in German
first_row=(-234 249)

no_gtk_complaints() {
  if grep -E 'Gtk-CRITICAL|Gtk-WARNING|GLib-CRITICAL|GLib-GObject-CRITICAL|GLib-GObject-WARNING' \
    "$work/stderr"; then
    fail "GTK complained $1"
  fi
}

# 1. Started in English: the window's title, its minimum size.
as_user env LANGUAGE=en "$program" 2>>"$work/stderr" &
app=$!
xsession_wait_window Untitled 60 || fail "no window \"Untitled\": $(wmctrl -l)"
main=$(window_id Untitled)
wait_title Untitled
wait_untitled_gone || fail "the splash screen stayed"  # it stays two seconds
wait_still "$main"
size=$(xdotool getwindowgeometry "$main" | awk '/Geometry/ { print $2 }')
[ "$size" = 1071x646 ] || fail "the English window is $size, not 1071x646; the places clicked need a look"
shot main
no_gtk_complaints "at start"

# 2. The demo download and its question, answered "No".
download_demo_events "$upload_button_x" Loading

# 3. The first record charted; printed to a PDF, which gives the chart's words back.
click "$main" "${first_row[@]}"
for _ in $(seq 25); do
  import -window "$main" "$work/chart.png"
  [ "$(count_colour "$work/chart.png" '#0000FF')" -gt 100 ] && break
  sleep 0.2
done
[ "$(count_colour "$work/chart.png" '#0000FF')" -gt 100 ] || fail "no flow series charted"
shot chart
menu alt+f Down Down Down Return  # "File" > "Print Chart" (the menu opens on its first item)
print_to_file
words=$(pdftotext -layout output.pdf -)
for caption in "Flow (l/min)" "Pressure (bar)"; do
  grep -qF "$caption" <<<"$words" || fail "the printed chart has no \"$caption\": $words"
done
if grep -E 'Durchfluss|Druck' <<<"$words"; then fail "German words on the English chart"; fi
[ -z "$shots" ] || cp output.pdf "$shots/chart.pdf"

# 4. The logger settings dialog.
click "$main" "${settings_button[@]}"
settings=$(wait_window "Logger Settings" 50) || fail "no dialog \"Logger Settings\""
wait_active "$settings"
shot settings
xdotool key Escape
wait_gone "Logger Settings" || fail "the settings dialog stayed"

# 5. Saved through the real GTK file dialog, to a path typed into its name field.
click "$main" "${save_button[@]}"
type_path_and_confirm "Save Job" "~/Messungen/demo-en" save
wait_title demo-en
[ -f "$HOME/Messungen/demo-en.kvr" ] || fail "demo-en.kvr is not in ~/Messungen"
head -n 1 "$HOME/Messungen/demo-en.kvr" | grep -qx 480000 || fail "the job file is not of layout 480000"
# The samples keep their "." decimals, as in German: lines of four such numbers.
samples=$(grep -cE '^-?[0-9]+\.[0-9]{6}( -?[0-9]+\.[0-9]{6}){3}$' "$HOME/Messungen/demo-en.kvr" || true)
[ "$samples" -gt 100 ] || fail "only $samples sample lines with \".\" decimals in the job file"
shot saved
no_gtk_complaints "in the English session"
wmctrl -c demo-en
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not close"
app=

# 6. The hydrant test report of the saved job from the command line, in English and in German:
#    the same figures, words in the language asked for.
for lang in en de; do
  as_user env -u DISPLAY LANGUAGE=$lang "$program" --report "$HOME/Messungen/demo-en.kvr" --record 3 \
    --output "$work/report-$lang.pdf" >"$work/report-$lang.txt" || fail "no report in $lang"
  pdftotext -layout "$work/report-$lang.pdf" "$work/page-$lang.txt"
done
grep -q '^Hydrant test report: ' "$work/report-en.txt" || fail "the English report: $(cat "$work/report-en.txt")"
grep -q '^Prüfbericht Hydrantenprüfung: ' "$work/report-de.txt" || fail "the German report: $(cat "$work/report-de.txt")"
grep -qF 'Static pressure' "$work/page-en.txt" || fail "the English report page: $(cat "$work/page-en.txt")"
grep -qF 'Ruhedruck' "$work/page-de.txt" || fail "the German report page"
# The figures, without the supply chart's scale caption (German "Q^1,85", English "Q^1.85").
figures() { grep -vF 'Q^1' "$1" | grep -oE '[0-9]+([.:,][0-9]+)*'; }
for kind in report page; do
  [ "$(figures "$work/$kind-en.txt")" = "$(figures "$work/$kind-de.txt")" ] ||
    fail "the $kind's figures differ: $(diff <(figures "$work/$kind-de.txt") <(figures "$work/$kind-en.txt"))"
done
[ "$(figures "$work/page-en.txt" | wc -l)" -gt 20 ] || fail "too few figures on the report page"
[ -z "$shots" ] || cp "$work/report-en.pdf" "$shots/report-en.pdf"

# 7. The language from LANG alone, and German for a language ZPM has no catalog for.
for start in "LANG=en_US.UTF-8:Untitled" "LANGUAGE=fr:fr_FR.UTF-8 LANG=fr_FR.UTF-8:Unbennant"; do
  title=${start##*:}
  # shellcheck disable=SC2086
  as_user env ${start%:*} "$program" 2>>"$work/stderr" &
  app=$!
  xsession_wait_window "$title" 60 || fail "${start%:*}: no window \"$title\": $(wmctrl -l)"
  wait_title "$title"
  wmctrl -c "$title"
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "the program did not close"
  app=
done
echo "$journey: Untitled 1071x646, the download's question, English axis captions printed, Logger Settings, saved demo-en.kvr"
