#!/bin/bash
# A live recording survives a kill, as a user meets it. zpm-demo records live; Ctrl+S saves the
# job while it records (the reference: what the window held); the program is killed with SIGKILL
# right after. Started again, it asks "Wiederherstellen"; after Yes and Ctrl+S the job holds the
# recording with every sample of the reference and the same values.
#   recovery_journey.sh ZPM-DEMO FIND-PICTURE [SCREENSHOT-DIR]
set -euo pipefail
program=$(realpath "$1")
finder=$(realpath "$2")
shots=${3:+$(realpath "$3")}
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/xsession.sh"
xsession_start
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill -9 "$app" 2>/dev/null || true; xsession_stop; rm -rf "$work"' EXIT
export HOME=$work/home
mkdir -p "$HOME"
unset XDG_CONFIG_HOME                # the settings go to the default, ~/.config/zpm
export XDG_DATA_HOME=$work/data      # the journals follow the desktop's data folder
journals=$XDG_DATA_HOME/zpm
cd "$work"
# Settings as an earlier version left them, in the home folder itself (no startup tips).
printf '1\n98\n0\n0\n0\n0\n0\n' >"$HOME/zpmv48.ini"
cp "$HOME/zpmv48.ini" legacy.ini
# Empty jobs, so that Ctrl+S writes to them without a dialog.
printf '480000\n0\n' >before.kvr
printf '480000\n0\n' >after.kvr

shot() { [ -n "$shots" ] && import -window root "$shots/recovery-journey-$1.png" || true; }
fail() {
  echo "$1" >&2
  wmctrl -lG >&2 || true
  cat "$work"/output* >&2 || true
  shot failed
  exit 1
}
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
journal_samples() { cat "$journals"/live-*.zpmlive 2>/dev/null | grep -c '^s ' || true; }
# The record count of a job with one record, then that record's lines after its sample count.
record_count() { sed -n 2p "$1"; }
samples_of() { tail -n +15 "$1"; }
settings_of() { sed -n '3,13p' "$1"; }

# 1. zpm-demo records live. The splash covers the window for two seconds: look until the record
#    button shows, then click it.
"$program" before.kvr >output1 2>&1 &
app=$!
xsession_wait_window before.kvr 60 || fail "no main window"
pos=
for _ in $(seq 100); do
  import -window root screen.png
  pos=$("$finder" screen.png record) && break
  pos=
  sleep 0.1
done
[ -n "$pos" ] || fail "the record button is not on screen"
read -r x y <<<"$pos"
xdotool mousemove "$x" "$y" click 1
for _ in $(seq 200); do [ "$(journal_samples)" -ge 6 ] && break; sleep 0.1; done
[ "$(journal_samples)" -ge 6 ] || fail "no journal of the live recording grows in $journals"
shot recording

# 2. Ctrl+S while it records; as soon as the job is on disk, SIGKILL.
main=$(window before.kvr)
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 200); do [ "$(record_count before.kvr)" = 1 ] && break; sleep 0.02; done
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=
[ "$(record_count before.kvr)" = 1 ] || fail "Ctrl+S saved no record"
saved=$(samples_of before.kvr | wc -l)
[ "$saved" -ge 3 ] || fail "the saved record holds only $saved samples"
ls "$journals"/live-*.zpmlive >/dev/null 2>&1 || fail "the kill left no journal"
echo "recorded live, saved $saved samples, killed"

# 3. Started again: the question, answered Yes.
"$program" after.kvr >output2 2>&1 &
app=$!
xsession_wait_window Wiederherstellen 60 || fail "no recovery question"
# Nothing covers the question: the splash, which stays on top for two seconds, goes when it comes.
for _ in $(seq 8); do wmctrl -l | grep -q -v -e Wiederherstellen -e after.kvr || break; sleep 0.1; done
! wmctrl -l | grep -v -e Wiederherstellen -e after.kvr >&2 || fail "another window (the splash) is over the question"
shot question
question=$(window Wiederherstellen)
xdotool windowactivate --sync "$question"
xdotool key --clearmodifiers Return
for _ in $(seq 50); do [ -z "$(window Wiederherstellen)" ] && break; sleep 0.1; done
[ -z "$(window Wiederherstellen)" ] || fail "the question stayed"
shot recovered

# 4. Ctrl+S: the recovered recording goes into after.kvr, and its journal is done.
main=$(window after.kvr)
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 100); do [ "$(record_count after.kvr)" = 1 ] && break; sleep 0.1; done
[ "$(record_count after.kvr)" = 1 ] || fail "Ctrl+S after the recovery saved no record"
recovered=$(samples_of after.kvr | wc -l)
echo "recovered $recovered samples"
[ "$(settings_of after.kvr)" = "$(settings_of before.kvr)" ] ||
  fail "the recovered record differs in title, start, units or settings: $(diff <(settings_of before.kvr) <(settings_of after.kvr))"
[ "$recovered" -ge "$saved" ] || fail "recovered $recovered samples, but $saved were on screen before the kill"
# The logger sends one sample a second; the kill came well within a second of the save.
[ "$recovered" -le $((saved + 2)) ] || fail "recovered $recovered samples, more than were recorded"
[ "$(samples_of after.kvr | head -n "$saved")" = "$(samples_of before.kvr)" ] ||
  fail "the recovered samples differ from the saved ones"
for _ in $(seq 50); do ls "$journals"/live-*.zpmlive >/dev/null 2>&1 || break; sleep 0.1; done
ls "$journals"/live-*.zpmlive >/dev/null 2>&1 && fail "the journal stayed after the save"

# 5. Ctrl+Q: saved, so nothing is asked; the settings of the earlier version now live in the
#    configuration folder, the old file as it was.
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$app" || fail "zpm-demo ended with status $?"
app=
cmp -s "$HOME/.config/zpm/zpmv48.ini" legacy.ini || fail "settings not taken over: $(cat "$HOME/.config/zpm/zpmv48.ini")"
cmp -s "$HOME/zpmv48.ini" legacy.ini || fail "the earlier settings file was changed"
echo "the recording came back whole after a kill; settings taken over from ~/zpmv48.ini"
