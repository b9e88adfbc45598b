#!/bin/bash
# Builds ZPM and runs every test: the normal build, then the whole suite once more under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
#   ./test.sh            everything
#   ./test.sh --quick    normal build only
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/install-deps.sh test

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp")
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

run_suite() {
  local build=$1
  shift
  cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
  cmake --build "$build" -j "$jobs"
  echo "== headless tests ($build)"
  (cd "$build" && env -u DISPLAY -u WAYLAND_DISPLAY ctest -L headless -j "$jobs" --output-on-failure)
  echo "== GUI tests under Xvfb ($build)"
  (cd "$build" && "${xvfb[@]}" ctest -L gui -j "$jobs" --output-on-failure)
}

# Every tool the tests use is installed now: a test left out for want of one is a failure.
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZPM_REQUIRE_ALL_TESTS=ON
if [ "${1:-}" = "--quick" ]; then
  exit 0
fi
# The sanitizer run takes the test cases of each binary in a shuffled order: a case that needs what
# another left behind fails there. The seed is printed so that a failing order can be run again.
seed=${ZPM_SHUFFLE_SEED:-$((RANDOM % 99999 + 1))}
echo "== test cases shuffled with seed $seed (ZPM_SHUFFLE_SEED=$seed repeats the order)"
GTEST_SHUFFLE=1 GTEST_RANDOM_SEED=$seed \
ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DZPM_SANITIZE=ON -DZPM_REQUIRE_ALL_TESTS=ON -DZPM_BUILD_BENCH=OFF
# Half a minute of fuzzing per target on every run, after the committed corpus; longer runs by
# hand (scripts/fuzz.sh alone fuzzes a minute per target, FUZZ_SECONDS says otherwise).
FUZZ_SECONDS=${FUZZ_SECONDS:-30} scripts/fuzz.sh
echo "All tests passed."
