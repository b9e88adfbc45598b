#!/bin/bash
# Builds ZPM and starts it. With the emulated logger (zpm-demo) when it is built, so the program
# shows a logger without one on the desk. Without a display it runs on Xvfb, saves a screenshot
# of the main window, and closes the window as a user would.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZPM_BUILD_TESTS=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target zpm $( [ -f emulator/CMakeLists.txt ] && echo zpm-demo )

program=build-run/src/app/exe/zpm
[ -x build-run/src/app/exe/zpm-demo ] && program=build-run/src/app/exe/zpm-demo

if [ -n "${DISPLAY:-}" ]; then
  exec "$program"
fi

. scripts/xsession.sh
xsession_start
"$program" &
app=$!
if ! xsession_wait_window Unbennant 60; then
  echo "the main window did not appear" >&2
  exit 1
fi
sleep 7   # the splash closes after 2 s; the first status poll of the logger comes at 5 s
shot=${ZPM_SCREENSHOT:-$(pwd)/build-run/zpm-screenshot.png}
import -window root "$shot"
echo "Screenshot of the running program: $shot"
wmctrl -c Unbennant
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
  echo "the program did not close" >&2
  kill "$app"
  exit 1
fi
wait "$app"
echo "The program closed normally."
