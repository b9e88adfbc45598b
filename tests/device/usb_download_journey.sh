#!/bin/bash
# The download through the unmodified zpm on the real libusb 0.1 path (umockdev presents the
# emulated logger as a USB device), from a logger whose directory holds one damaged entry: the
# message about it shows, the records are saved through the real file dialog, no offer to erase
# the logger follows, and every intact event is in the job file, sample for sample.
#   usb_download_journey.sh UMOCKDEV-WRAPPER LOGGER-ON-USB ZPM [SCREENSHOT-DIR]
set -euo pipefail
journey=usb_download_journey
wrapper=$1
host=$(realpath "$2")
program=$(realpath "$3")
shots=${4:+$(realpath "$4")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
. "$src/tests/support/journey.sh"
xsession_start
journey_scratch

as_user "$wrapper" "$host" "$work/expected" "$program" 2>>"$work/stderr" &
app=$!
xsession_wait_window Unbennant 60 || fail "no main window: $(cat "$work/stderr")"
main=$(window_id Unbennant)
expect_minimum_size

# The upload button; the splash may still take the first click.
message=
for _ in 1 2 3 4 5; do
  click "$main" 476 -58
  message=$(wait_untitled 300) && break
done
[ -n "$message" ] || fail "no message about the damaged event"
shot damage-message
xdotool windowactivate --sync "$message" key Return
wait_untitled_gone || fail "the message stayed"
question=$(wait_window "Save new data?" 30) || fail "no save question after the message"
click "$question" -65 -11  # "Yes", the right half of the buttons row
wait_gone "Save new data?" || fail "the save question stayed"
type_path_and_confirm "Vorgang abspeichern" "~/Messungen/usb" save
wait_title usb  # the name as typed
job="$HOME/Messungen/usb.kvr"
[ -s "$job" ] || fail "no job file"
# The erase offer would come at once after the save: the window stays alone.
for _ in $(seq 10); do
  window_id "Achtung" >/dev/null && fail "the logger was offered for erasing although an event was damaged"
  sleep 0.1
done

# The flows of each record of the job file, one record a line (title and eleven lines more, the
# sample count, then one line per sample with the flow second).
awk 'NR <= 2 { next }
     left > 0 { printf "%s%d", (k++ ? " " : ""), $2; if (--left == 0) print ""; next }
     { line++ }
     line == 12 { left = $1; k = 0; line = 0; if (left == 0) print "" }' "$job" >"$work/records"
[ "$(wc -l <"$work/records")" -eq 4 ] || fail "the job holds $(wc -l <"$work/records") records, not 4"
[ "$(wc -l <"$work/expected")" -eq 3 ] || fail "the logger did not say what it holds"
while read -r flows; do
  # An event after a damaged one begins with the samples the damaged entry lost.
  grep -qE -- "(^| )$flows\$" "$work/records" ||
    fail "an intact event is not in the job file sample for sample: $(cut -c1-60 <<<"$flows")…"
done <"$work/expected"
echo "every intact event of a logger with a damaged entry was saved, sample for sample"

xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
wait "$app" || fail "zpm ended with status $?: $(tail -n 5 "$work/stderr")"
app=
