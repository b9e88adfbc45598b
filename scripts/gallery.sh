#!/bin/bash
# Screenshots every page of the gallery under Xvfb into PNG files.
#   scripts/gallery.sh [build dir] [output dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/gallery}
gallery=$build/tests/gallery/zpm_gallery
[ -x "$gallery" ] || cmake --build "$build" --target zpm_gallery
mkdir -p "$out"
. scripts/xsession.sh
xsession_start
export HOME=$(mktemp -d)
printf '1\n98\n0\n0\n0\n0\n0\n' > "$HOME/zpmv48.ini"
for entry in $("$gallery" --list); do
  page=${entry%%:*}
  settle=${entry##*:}
  "$gallery" --page "$page" &
  pid=$!
  # Pages draw at once; give the window manager and the first paints a moment.
  for _ in $(seq 50); do
    [ "$(wmctrl -l | wc -l)" -gt 0 ] && break
    sleep 0.1
  done
  sleep "$settle"
  import -window root -trim +repage "$out/$page.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out/$page.png"
done
rm -rf "$HOME"
