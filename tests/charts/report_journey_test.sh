#!/bin/bash
# The hydrant test report as a user makes it in zpm-demo, through the real dialogs: the demo
# logger's events, the first record's figures taken into its text box (the dialog's figures),
# the job saved; "Prüfbericht …" from the "Daten" menu, a tester and a remark typed, "Als PDF
# speichern …" to a typed path; the PDF read back; "Drucken …": the preview, printed to a file
# through the GTK print dialog; the report dialog from the hydrant dialog's own button. Then
# the command line on the saved job: the same figures, exit status 0, 1 and 2.
#   report_journey_test.sh ZPM-DEMO [SCREENSHOT-DIR]
# shellcheck disable=SC2088
set -euo pipefail
program=$(realpath "$1")
shots=${2:+$(realpath "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
journey="report journey"
. "$src/tests/support/journey.sh"
xsession_start
setxkbmap de || fail "no German keyboard layout"
journey_scratch

start_program
expect_minimum_size
download_demo_events
press -234 249  # the first record

# --- The dialog's figures at 1.5 bar, into the text box, and the job saved.
d=$(menu_dialog "Hydrantenprüfung" alt+t End Up Return) || fail "no hydrant test dialog"
shot hydrant-dialog
click "$d" -218 -36  # "In Textfeld übernehmen"
wait_gone "Hydrantenprüfung" || fail "the hydrant test dialog stayed"
click "$main" 92 57  # "Speichern"
type_path_and_confirm "Vorgang abspeichern" "~/Messungen/hydrant" save
wait_title hydrant
note=$(iconv -f latin1 -t utf-8 "$HOME/Messungen/hydrant.kvr" | sed -n 7p |
  perl -CS -ne 'print map { $_ ? chr : "" } split')
grep -q 'Verfügbarer Durchfluss' <<<"$note" || fail "no figures in the text box: $note"

# --- "Prüfbericht …": the tester typed (the place and line come from the record), a remark.
d=$(menu_dialog "Prüfbericht" alt+t End Return) || fail "no report dialog"
xdotool type --delay 20 "Jörg Prüfer"
xdotool key Tab
xdotool type --delay 20 "Schieber leichtgängig"
wait_still "$d"
shot report-dialog
click "$d" "${save_button_x:--290}" -30  # "Als PDF speichern …"
type_path_and_confirm "Prüfbericht speichern" "~/Messungen/bericht" pdf
pdf="$HOME/Messungen/bericht.pdf"
eventually test -s "$pdf" || fail "no PDF at $pdf"
# "Drucken …": the page in the preview, whose print button leads to the GTK print dialog; its
# "Print to File" puts the page into output.pdf.
click "$d" -175 -30  # "Drucken …"
v=$(wait_window "Vorschau drucken") || fail "no print preview of the report"
wait_still "$v"
import -window "$v" "$work/preview.png"
shot report-preview
[ "$(count_colour "$work/preview.png" '#0000FF')" -gt 100 ] || fail "the preview shows no flow curve"
click "$v" 27 30  # the preview's print button
print_to_file
printed=$(pdftotext -layout output.pdf -)
for expected in "Prüfbericht Hydrantenprüfung" "Jörg Prüfer" "Hydrantenklasse (NFPA 291): C"; do
  grep -qF -- "$expected" <<<"$printed" || fail "the printed page lacks \"$expected\""
done
click "$v" -50 22  # "Close"
wait_gone "Vorschau drucken" || fail "the preview stayed"
# The dialog made way for the preview.
wait_gone "Prüfbericht" || fail "the report dialog stayed"
# The hydrant dialog's own "Prüfbericht …" opens the report dialog over it; the tester is
# remembered from before.
d=$(menu_dialog "Hydrantenprüfung" alt+t End Up Return) || fail "no hydrant test dialog"
click "$d" 76 -34  # "Prüfbericht …"
r=$(wait_window "Prüfbericht") || fail "no report dialog from the hydrant dialog's \"Prüfbericht …\""
wait_active "$r"
shot report-from-hydrant
xdotool key Escape
wait_gone "Prüfbericht" || fail "the report dialog stayed"
wait_active "$d"  # back at the hydrant dialog
xdotool key Escape
wait_gone "Hydrantenprüfung" || fail "the hydrant test dialog stayed"
[ "$(cat "$HOME/.config/zpm/pruefer.txt")" = "Jörg Prüfer" ] || fail "the tester was not remembered"
[ "$(wc -l <"$HOME/.config/zpm/zpmv48.ini")" -eq 7 ] || fail "the settings file changed its lines"

# Every figure of the dialog, the checks and the class are on the page.
text=$(pdftotext -layout "$pdf" -)
while IFS= read -r line; do
  case "$line" in Hydrantenprüfung | "") continue ;; esac
  value=${line#*: }
  grep -qF -- "$value" <<<"$text" || fail "the page lacks \"$value\" of the dialog"
done <<<"$note"
for expected in "Prüfbericht Hydrantenprüfung" "ZPM Version 4.8" "Logger-Seriennummer: 2417" \
  "Jörg Prüfer" "Schieber leichtgängig" "Druckabfall mindestens 10 % des Ruhedrucks" \
  "Fließphase gleichmäßig und mindestens 10 s lang" "Fließdruck über dem Mindestdruck" \
  "48 m³/h erreicht" "96 m³/h nicht erreicht" "Hydrantenklasse (NFPA 291): C"; do
  grep -qF -- "$expected" <<<"$text" || fail "the page lacks \"$expected\""
done
[ "$(grep -c 'nicht erfüllt' <<<"$text")" -eq 0 ] || fail "a check failed on the demo record"
[ "$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')" = 1 ] || fail "not one page"
pdfinfo "$pdf" | grep -q 'Page size: *595.* x 841.* pts (A4)' || fail "not A4"
pdftoppm -r 80 -png -singlefile "$pdf" "$work/page"
[ -z "$shots" ] || cp "$work/page.png" "$shots/report-page.png"
# The page is drawn: the flow's blue and the supply line's magenta are there.
[ "$(count_colour "$work/page.png" '#0000FF')" -gt 200 ] || fail "no flow curve on the page"
[ "$(count_colour "$work/page.png" '#C80078')" -gt 100 ] || fail "no supply line on the page"

xdotool windowactivate --sync "$main"
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
app=

# --- The command line on the saved job, without a display: the dialog's figures again.
job="$HOME/Messungen/hydrant.kvr"
out=$(as_user env -u DISPLAY "$program" --report "$job" --record 1 --output "$work/cli.pdf") ||
  fail "the report from the command line failed"
while IFS= read -r line; do
  case "$line" in Hydrantenprüfung | "") continue ;; esac
  grep -qF -- "$line" <<<"$out" || fail "the command line lacks \"$line\": $out"
done <<<"$note"
grep -qF "Prüfer: Jörg Prüfer" <<<"$out" || fail "the remembered tester is not in the command line's report"
pdftotext "$work/cli.pdf" - | grep -qF "Jörg Prüfer" || fail "the command line's page lacks the tester"
status=0
as_user env -u DISPLAY "$program" --report "$job" --record 1 --min-pressure 9 --output "$work/no.pdf" \
  2>"$work/err" >/dev/null || status=$?
[ "$status" = 1 ] || fail "a minimum above the static pressure gave status $status, not 1"
grep -q "Mindestdruck" "$work/err" || fail "no reason on standard error: $(cat "$work/err")"
[ ! -e "$work/no.pdf" ] || fail "a file was written for a record that cannot be evaluated"
status=0
as_user env -u DISPLAY "$program" --report "$job" --record 9 --output "$work/no.pdf" 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "a record the job does not hold gave status $status, not 2"
status=0
as_user env -u DISPLAY "$program" --report "$job" --output "$work/no.pdf" 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "a missing --record gave status $status, not 2"
echo "report journey: the dialog's figures on the PDF page and from the command line, exit 0, 1, 2"
