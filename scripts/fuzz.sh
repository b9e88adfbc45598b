#!/bin/bash
# Fuzzes the job file reader and the logger database import under AddressSanitizer and
# UndefinedBehaviorSanitizer: builds the libFuzzer targets with clang into build-fuzz/, replays
# the committed corpus (fuzz/corpus/<target>/), then fuzzes each target for a bounded time.
# Exits non-zero when a build fails or an input crashes, hangs, leaks or allocates too much.
#   scripts/fuzz.sh                      60 s per target
#   FUZZ_SECONDS=10 FUZZ_JOBS=1 scripts/fuzz.sh
# A crash leaves its input in build-fuzz/artifacts/; copy it to fuzz/corpus/<target>/crash_<what>
# and add a regression test to tests/files/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-$(nproc)}

cxx=$(command -v clang++-14 || command -v clang++ || true)
cc=$(command -v clang-14 || command -v clang || true)
if [ -z "$cxx" ] || [ -z "$cc" ]; then
  echo "fuzz.sh: clang is not installed" >&2
  exit 1
fi

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0:verify_asan_link_order=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
limits=(-rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10)
mkdir -p "$build/artifacts"

for target in job_file database_import; do
  fuzzer=$build/${target}_fuzzer
  seeds=$root/fuzz/corpus/$target
  work=$build/corpus/$target
  mkdir -p "$work"

  echo "== $target: replaying $(find "$seeds" -type f | wc -l) committed inputs"
  find "$seeds" -type f -print0 | xargs -0 "$fuzzer" "${limits[@]}" >"$build/$target-replay.log" 2>&1 || {
    cat "$build/$target-replay.log" >&2
    echo "fuzz.sh: $target failed on the committed corpus" >&2
    exit 1
  }

  echo "== $target: fuzzing for ${seconds}s"
  "$fuzzer" "${limits[@]}" -max_len=65536 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "$work" "$seeds" >"$build/$target-fuzz.log" 2>&1 || {
    tail -n 60 "$build/$target-fuzz.log" >&2
    echo "fuzz.sh: $target found a failing input, see $build/artifacts/" >&2
    exit 1
  }
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/$target-fuzz.log" || true
done
echo "Fuzzing passed."
