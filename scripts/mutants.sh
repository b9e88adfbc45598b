#!/bin/bash
# Mutation check: each mutant below is one small fault a user would notice (a picture not shown,
# a wrong value, a file in the wrong place), made in a scratch copy of the tree. The tests listed
# with it must fail; then the mutant is "killed". A mutant whose tests all pass "survived": the
# suite would not have noticed that fault. Not part of ./test.sh (it rebuilds and reruns tests
# for every mutant, some minutes each).
#
#   scripts/mutants.sh              every mutant
#   scripts/mutants.sh M3 M7        only these
#   MUTANTS_DIR=dir                 the scratch copy (default: build-mutants/ in the tree, so the
#                                   compiler cache finds the objects of the normal build)
#   MUTANTS_LOCK=/tmp/zpm-cpu.lock  take this lock around each build and test run (without it,
#                                   run the whole script under the lock yourself)
#
# Before the mutants, the tests of all listed mutants run once on the unchanged copy: they must
# pass there, or a "killed" would mean nothing. Ends with "mutants: N killed, M survived" and
# exits non-zero when one survived. A mutant that no longer applies (its text is gone or found
# twice) or no longer builds counts as survived: point it at the code anew.
#
# A mutant is one of:
#   replace NAME FILE TEXT NEW TEST...   TEXT must occur exactly once in FILE; it becomes NEW
#   patch   NAME DIFF TEST...            DIFF (unified, paths from the tree's root, as much
#                                        context after as before) must apply without fuzz
# A TEST is a CTest name, optionally with a GoogleTest filter: name:Suite.Case*
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$(pwd)
scratch=${MUTANTS_DIR:-$root/build-mutants}
build=$scratch/build
logs=$scratch/logs
lock=${MUTANTS_LOCK:-}
xvfb=(xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp")
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

# --- the mutants ------------------------------------------------------------------------------

NAMES=()
declare -A KIND FILE TEXT NEW DIFF TESTS

replace() {
  local name=$1
  NAMES+=("$name")
  KIND[$name]=replace FILE[$name]=$2 TEXT[$name]=$3 NEW[$name]=$4
  shift 4
  TESTS[$name]="$*"
}

patch_mutant() {
  local name=$1
  NAMES+=("$name")
  KIND[$name]=patch DIFF[$name]=$2
  shift 2
  TESTS[$name]="$*"
}

# M1: the plot window never copies its picture to the screen; the chart area stays empty.
replace M1-paint-not-shown src/plot/plot_window.cpp \
  "dc.Blit(" "if (false) dc.Blit(" \
  plot_window_test:PlotWindowTest.TheScreenShows* mainframe_gui_test:FileCommandsTest.ImageExport*

# M2: the status tick takes an empty logger's free memory instead of the logger's own.
replace M2-status-ignores-free-memory src/acquisition/acquisition.cpp \
  "const DeviceStatus st = DecodeStatus(reply, usbLink->LastTransferLength());" \
  "DeviceStatus st = DecodeStatus(reply, usbLink->LastTransferLength());
    st.freeBytes = 131030;" \
  acquisition_gui_test:LiveTest.StatusTick*

# M3: the flow chart plots the volumes, its readout the flows.
replace M3-flow-and-volume-swapped src/charts/chart_assembly.cpp \
  "flowSeries->ShareDataWithExtra(chartTimes, chartFlows, chartVolumes, r.TargetFlow());" \
  "flowSeries->ShareDataWithExtra(chartTimes, chartVolumes, chartFlows, r.TargetFlow());" \
  mainframe_gui_test:ChartTest.*

# M4: the battery gauge keeps the colour of the previous level on screen.
replace M4-battery-colour-not-drawn src/acquisition/acquisition.cpp \
  "    ApplyGaugeStyle(batteryGauge);" "" \
  acquisition_gui_test:LiveTest.StatusTick*

# M5: the flow axis no longer reaches beyond a target flow above the samples.
replace M5-target-flow-off-the-axis src/charts/chart_assembly.cpp \
  "chartVolumes, r.TargetFlow());" "chartVolumes, 0);" \
  mainframe_gui_test:ChartTest.TargetFlow*

# M6: cubic metres per hour volumes in litres.
replace M6-cubic-metre-volumes src/data/units.cpp \
  "return rawFlow * intervalMs / 60000000.0;" "return rawFlow * intervalMs / 60000.0;" \
  data_test

# M7: the CSV header names litres per minute for litres per second.
replace M7-csv-unit-text src/files/csv_export.cpp \
  '"L/s"' '"L/min"' \
  files_test:CsvExport.*

# M8: the CSV decimal point follows the user's locale (a comma in German).
replace M8-csv-decimal-comma src/files/file_text.cpp \
  "*out++ = '.';" "*out++ = std::to_string(0.5)[1];" \
  files_test:CsvExport.NumbersHaveTwoDecimals*

# M9: an event whose end lies beyond the directory's start takes directory bytes as samples.
replace M9-download-directory-bound src/acquisition/download_plan.cpp \
  "if (end < start || end > directoryStart) {" "if (end < start) {" \
  acquisition_gui_test:DownloadTest.DamagedEntries*

# M10: the progress window stays open over the save question.
replace M10-progress-over-question src/acquisition/download.cpp \
  "    progress.reset();
    RefreshRecordList();" "    RefreshRecordList();" \
  acquisition_download_journey

# M11: after a delete the highlighted row is not the record charted and acted on.
replace M11-delete-focus src/mainframe/record_list.cpp \
  "ReselectRow(r == 0 ? 0 : r - 1, true);" "ReselectRow(r == 0 ? 0 : r - 1, false);" \
  mainframe_gui_test:RecordListTest.AfterADelete*

# M12: a file lands in the folder the dialog showed, not in the one the user typed.
replace M12-save-path-without-typed-folder src/files/file_commands.cpp \
  "const wxString path = dialog.GetPath();" "const wxString path;" \
  file_journey_test

# M13: a write that fails half way still replaces the earlier file.
replace M13-failed-write-replaces-file src/app/atomic_file.cpp \
  "if (ok && std::rename(tmpl.c_str(), target.c_str()) == 0)" \
  "if (std::rename(tmpl.c_str(), target.c_str()) == 0 && ok)" \
  files_test:CsvExport.SaveFailure* mainframe_gui_test:FileCommandsTest.FailedSave*

# M14: the colour dialog offers other greys than the sixteen from black up.
replace M14-colour-dialog-greys src/charts/plot_commands.cpp \
  "wxColour(16 * i, 16 * i, 16 * i)" "wxColour(17 * i, 17 * i, 17 * i)" \
  mainframe_gui_test:ChartTest.ColourChange*

# M15: the hydrant test's green phase labels stay the colour of every text the chart writes
# after it (the labels keep their colour and the paint starts from whatever the last one left).
patch_mutant M15-phase-label-colour-stays "$(cat <<'DIFF'
--- a/src/plot/phase_shading.cpp
+++ b/src/plot/phase_shading.cpp
@@ -41,4 +41,4 @@ void mpPhaseShading::Draw(wxDC& dc, mpWindow& window) {
     }
     dc.SetBrush(wxNullBrush);
-    dc.SetTextForeground(text);
+    // (the label colour stays)
 }
--- a/src/plot/plot_window.cpp
+++ b/src/plot/plot_window.cpp
@@ -244,5 +244,5 @@ void mpWindow::PaintBuffer(int width, int height) {
     // Every paint starts from the same drawing state: the buffer's DC keeps what the last
     // paint's layers left in it.
-    dc.SetTextForeground(*wxBLACK);
+    // (no reset)
     dc.SetDeviceOrigin(width >> 1, height >> 1);
     // Layers may send events whose handlers change the layer set; draw from a copy of the order.
DIFF
)" chart_commands_journey_test

# M16: a text box whose place lies near the right edge runs past the chart.
replace M16-text-box-past-the-edge src/plot/layers.cpp \
  "box.x = std::max(std::min(box.x, W - W / 2 - box.width - 1), -(W / 2));" "" \
  chart_commands_journey_test mainframe_gui_test:RecordListTest.TheTextBoxPosition*

# M17: after opening a job the chart goes on showing a record that is no longer there.
replace M17-chart-keeps-record-after-open src/files/file_commands.cpp \
  "ChartNoRecord();" "" \
  file_journey_test

# M18: a damaged directory entry moves the next event's start: that event loses samples.
replace M18-damaged-entry-moves-next-start src/acquisition/download_plan.cpp \
  "            span = {start, start, true};" "            span = {start, start, true};
            start = std::min(end, directoryStart);" \
  acquisition_gui_test:DownloadTest.DamagedEntries*

# M19: the newest event of a memory filled up to the directory is refused instead of read whole.
replace M19-full-memory-newest-refused src/acquisition/download_plan.cpp \
  "if (k == 0 && end > directoryStart && end <= logger::MemorySize)" "if (k == 0 && end < start)" \
  acquisition_gui_test:DownloadTest.AMemoryFilledUp*

# M20: a short reply leaves the bytes of an earlier reply where nothing came.
replace M20-short-reply-keeps-stale-bytes src/device/vext_usb.cpp \
  "        std::memset(buffer + lastInLength, 0, static_cast<std::size_t>(length - lastInLength));" "" \
  device_test acquisition_fault_sweep

# M21: a memory chunk that came short is taken as it came, its missing samples made up.
replace M21-short-chunk-taken src/device/vext_usb.cpp \
  "        if (result < chunk) {" "        if (result < 0) {" \
  device_test device_libusb_test

# M22: the job file reader takes no record's flow unit: values in m³/h read as l/min.
replace M22-reader-drops-flow-unit src/files/job_file.cpp \
  "            rec.SetFlowUnit(flowUnit);" "" \
  files_test:JobFileRoundTrip.*

# M23: the job file reader swaps the text box's place.
replace M23-reader-text-box-place src/files/job_file.cpp \
  "rec.SetNotePosition(noteX, noteY);" "rec.SetNotePosition(noteY, noteX);" \
  files_test:JobFileRoundTrip.*

# M24: the job file writer stores the flow unit setting for every record again.
replace M24-writer-flow-unit src/files/job_file.cpp \
  "    sink.Int(rec.FlowUnit(), '\\n');" "    sink.Int(0, '\\n');" \
  files_test:JobFile*

# M25: "Ja" to the question about filtered records still writes the smoothed values.
replace M25-writer-measured-values src/files/job_file.cpp \
  "const bool measured = values == Values::Measured;" "const bool measured = false;" \
  mainframe_gui_test:FileCommandsTest.FilteredRecords*

# M26: the recovery journal's failures are never told: the user thinks the recording protected.
replace M26-journal-failure-untold src/acquisition/recovery_journal.cpp \
  "        if (failures >= 3)
            failing = true;" "" \
  acquisition_gui_test:RecoveryTest.AnUnprotected*

# M27: a journal line that its reading gets in two pieces loses its first piece: a long recording
# is taken over only up to the first such line.
replace M27-journal-split-line src/acquisition/recovery_journal.cpp \
  "            if (!carry.empty()) {
                carry.append(line);
                line = carry;
            }" "" \
  acquisition_recovery_test acquisition_gui_test:RecoveryTest.*

# M28: the moving average divides by one sample too few: every filtered value too large.
replace M28-filter-width src/data/storage.cpp \
  "    const long width = 2L * n + 1;" "    const long width = 2L * n;" \
  data_test live_filter_test

# M29: a sample that arrives while the filter is on leaves its neighbour unaveraged.
replace M29-filter-growing-skips src/data/storage.cpp \
  "    if (i >= filterHalfWidth)
        AverageAt(i);" "    if (i > filterHalfWidth)
        AverageAt(i);" \
  data_test live_filter_test

# M30: a block extreme grown by the live tick starts at the old end of the level below (the fault
# that let peaks vanish from long live charts).
replace M30-extremes-grown-from-old-end src/plot/series_raster.cpp \
  "        firstChanged = first;" "        firstChanged = firstChanged / kBlock + (firstChanged % kBlock ? 1 : 0);" \
  plot_math_test:PlotReduction.PyramidGrown*

# M31: a block extreme takes its maximum from the minima.
replace M31-extremes-max-from-min src/plot/series_raster.cpp \
  "                h = std::max(h, highSource[i]);" "                h = std::max(h, lowSource[i]);" \
  plot_math_test:PlotReduction.PyramidGrown*

# M32: the second column of a line to the next pixel column lands one column further right.
replace M32-raster-column-one-off src/plot/series_ink.cpp \
  "            column(s.x2, middle, s.y2);" "            column(s.x2 + 1, middle, s.y2);" \
  plot_window_test:PlotWindowTest.TheReducedDrawingShows*

# M33: a wide dot loses its last row of pixels.
replace M33-wide-dot-last-row src/plot/series_ink.cpp \
  "j <= std::ceil(offset + radius); ++j) {" "j < std::ceil(offset + radius) - 1; ++j) {" \
  plot_window_test:PlotWindowTest.TheReducedDrawingShows*

# Mutants about what the screen shows: their tests run as ./test.sh runs them, beside the GUI
# binaries that move their windows around the shared display (each takes the display in turn).
SCREEN_BESIDE="acquisition_gui_test mainframe_gui_test"
SCREEN_BESIDE_CASES="LiveTest.*:FileCommandsTest.*"
declare -A SCREEN
for n in M1-paint-not-shown M32-raster-column-one-off M33-wide-dot-last-row; do SCREEN[$n]=1; done

# --- the machinery ----------------------------------------------------------------------------

locked() {
  if [ -n "$lock" ]; then
    flock -o "$lock" "$@"
  else
    "$@"
  fi
}

# Brings the scratch copy to the tree's files (tracked and new, not ignored ones). A changed
# file gets the time of the copy, so the build sees it.
sync_tree() {
  mkdir -p "$scratch"
  (cd "$root" && git ls-files -co --exclude-standard -z) | while IFS= read -r -d '' f; do
    [ -f "$root/$f" ] || continue
    if ! cmp -s "$root/$f" "$scratch/$f" 2>/dev/null; then
      mkdir -p "$scratch/$(dirname "$f")"
      cp "$root/$f" "$scratch/$f"
    fi
  done
}

# Test names (without filters) of the given mutants, each once.
test_names() {
  local n t
  for n in "$@"; do
    for t in ${TESTS[$n]}; do echo "${t%%:*}"; done
  done | sort -u
}

# What to build for these tests: binaries by their names, the programs for the journeys.
build_targets() {
  local t targets="" known
  known=$(ninja -C "$build" -t targets all 2>/dev/null)
  for t in "$@"; do
    if grep -q "^$t: " <<<"$known"; then
      targets="$targets $t"
    else
      targets="$targets zpm zpm-demo zpm_find_picture zpm_drag_source"
    fi
  done
  echo "$targets" | tr ' ' '\n' | sort -u | tr '\n' ' '
}

# Runs one test (its name, or name:filter); returns its status. With a second argument (a screen
# mutant) the windows of the GUI binaries that move theirs run beside it, two at a time as in
# ./test.sh, and only the listed test's result counts.
run_test() {
  local check=$1 beside=${2:-} name filter out status
  name=${check%%:*}
  filter="*"
  [ "$name" != "$check" ] && filter=${check#*:}
  if [ -z "$beside" ]; then
    (cd "$build" && export GTEST_FILTER=$filter &&
      locked "${xvfb[@]}" ctest -R "^${name}\$" --output-on-failure --timeout 300)
    return
  fi
  out=$(cd "$build" && export GTEST_FILTER="$filter:$SCREEN_BESIDE_CASES" &&
    locked "${xvfb[@]}" ctest -R "^(${name}|${SCREEN_BESIDE// /|})\$" -j 2 --output-on-failure --timeout 300 2>&1)
  status=$?
  printf '%s\n' "$out"
  grep -Eq "Test +#[0-9]+: ${name} \.+ +Passed" <<<"$out" && return 0
  [ $status -ne 0 ] || return 0
  return 1
}

# Applies a mutant to the scratch copy; non-zero when it does not apply exactly once.
apply_mutant() {
  local n=$1
  if [ "${KIND[$n]}" = patch ]; then
    printf '%s\n' "${DIFF[$n]}" | patch -d "$scratch" -p1 -F0 --dry-run -s >/dev/null 2>&1 &&
      printf '%s\n' "${DIFF[$n]}" | patch -d "$scratch" -p1 -F0 -s
    return
  fi
  MUT_TEXT=${TEXT[$n]} MUT_NEW=${NEW[$n]} perl -0777 -i -e '
    my $text = $ENV{MUT_TEXT}; my $new = $ENV{MUT_NEW};
    local $/; my $s = <>; my $count = () = $s =~ /\Q$text\E/g;
    if ($count != 1) { print $s; print STDERR "found $count times\n"; exit 3; }
    $s =~ s/\Q$text\E/$new/; print $s;' "$scratch/${FILE[$n]}"
}

# Files a mutant touches (to put back afterwards).
mutant_files() {
  local n=$1
  if [ "${KIND[$n]}" = patch ]; then
    printf '%s\n' "${DIFF[$n]}" | sed -n 's|^+++ b/||p'
  else
    echo "${FILE[$n]}"
  fi
}

restore_files() {
  local f
  for f in "$@"; do cp "$root/$f" "$scratch/$f"; done
}

selected=("$@")
[ ${#selected[@]} -eq 0 ] && selected=("${NAMES[@]}")
for n in "${selected[@]}"; do
  [ -n "${KIND[$n]:-}" ] || { echo "mutants.sh: no mutant $n" >&2; exit 2; }
done

echo "== scratch copy in $scratch"
sync_tree
mkdir -p "$logs"
locked cmake -S "$scratch" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$logs/configure.log" 2>&1 || {
  cat "$logs/configure.log" >&2
  exit 2
}
mapfile -t all_tests < <(test_names "${selected[@]}")
targets_all=$(build_targets "${all_tests[@]}")
targets=$targets_all
echo "== building$([ -n "$lock" ] && echo " (under $lock)"): $targets"
# shellcheck disable=SC2086
locked cmake --build "$build" --target $targets >"$logs/build.log" 2>&1 || {
  tail -n 40 "$logs/build.log" >&2
  echo "mutants.sh: the unchanged copy does not build" >&2
  exit 2
}

echo "== the tests pass on the unchanged copy"
baseline_ok=1
for check in $(for n in "${selected[@]}"; do echo "${TESTS[$n]}"; done | tr ' ' '\n' | sort -u); do
  if run_test "$check" >"$logs/baseline-${check//[^A-Za-z0-9_.-]/_}.log" 2>&1; then
    echo "   $check: passes"
  else
    echo "   $check: FAILS on the unchanged copy (see $logs)"
    baseline_ok=0
  fi
done
[ $baseline_ok = 1 ] || { echo "mutants.sh: fix the tests first" >&2; exit 2; }

current_files=()
trap 'restore_files "${current_files[@]}"' EXIT INT TERM
killed=0
survived=0
for n in "${selected[@]}"; do
  log="$logs/$n.log"
  mapfile -t current_files < <(mutant_files "$n")
  if ! apply_mutant "$n" >"$log" 2>&1; then
    restore_files "${current_files[@]}"
    echo "$n: survived (does not apply any more; point it at the code anew)"
    survived=$((survived + 1))
    continue
  fi
  mapfile -t names < <(test_names "$n")
  targets=$(build_targets "${names[@]}")
  # shellcheck disable=SC2086
  if ! locked cmake --build "$build" --target $targets >>"$log" 2>&1; then
    restore_files "${current_files[@]}"
    echo "$n: survived (does not build; see $log)"
    survived=$((survived + 1))
    continue
  fi
  failing=()
  for check in ${TESTS[$n]}; do
    if ! run_test "$check" ${SCREEN[$n]:+beside} >>"$log" 2>&1; then
      failing+=("$check")
    fi
  done
  restore_files "${current_files[@]}"
  if [ ${#failing[@]} -gt 0 ]; then
    echo "$n: killed by ${failing[*]}"
    killed=$((killed + 1))
  else
    echo "$n: survived (${TESTS[$n]} all pass; see $log)"
    survived=$((survived + 1))
  fi
done
current_files=()
# The copy is left unchanged, its build at the unchanged state for the next run.
# shellcheck disable=SC2086
locked cmake --build "$build" --target $targets_all >"$logs/rebuild.log" 2>&1 || true
echo "mutants: $killed killed, $survived survived"
[ $survived -eq 0 ]
