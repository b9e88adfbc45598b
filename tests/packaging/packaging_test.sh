#!/bin/bash
# Builds the Debian package, checks its content and the desktop files, unpacks it into a scratch
# root and starts the installed zpm-demo under Xvfb until its main window shows.
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$src"/packaging/*.desktop
appstreamcli validate --no-net --pedantic "$src/packaging/com.zepmonic.zpm.metainfo.xml" ||
  appstreamcli validate --no-net "$src/packaging/com.zepmonic.zpm.metainfo.xml"

(cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/zpm_*.deb)
echo "package: $(basename "$deb")"
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/zpm ./usr/bin/zpm-demo \
         ./usr/share/applications/com.zepmonic.zpm.desktop \
         ./usr/share/applications/com.zepmonic.zpm.Demo.desktop \
         ./usr/share/metainfo/com.zepmonic.zpm.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/com.zepmonic.zpm.svg \
         ./usr/share/icons/hicolor/16x16/apps/com.zepmonic.zpm.png \
         ./usr/share/icons/hicolor/128x128/apps/com.zepmonic.zpm.png \
         ./usr/lib/udev/rules.d/70-zpm-vantor.rules; do
  grep -qx -- "$f" <<<"$listing" || { echo "missing in the package: $f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q "libwxgtk3.2" <<<"$depends" || { echo "dependencies not computed from the binaries" >&2; exit 1; }
grep -q "libusb-0.1-4" <<<"$depends" || { echo "libusb 0.1 missing from the dependencies" >&2; exit 1; }

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root/usr/share/metainfo/com.zepmonic.zpm.metainfo.xml"

. "$src/scripts/xsession.sh"
xsession_start
export HOME="$work/home"
mkdir -p "$HOME"
"$root/usr/bin/zpm-demo" 2>"$work/stderr" &
app=$!
if ! xsession_wait_window Unbennant 60; then
  echo "the installed zpm-demo showed no main window" >&2
  wmctrl -l >&2 || true
  kill -0 "$app" 2>/dev/null && echo "(it is still running)" >&2
  tail -n 5 "$work/stderr" >&2
  kill "$app" 2>/dev/null || true
  exit 1
fi
wmctrl -c Unbennant
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  kill "$app"
  echo "zpm-demo did not close" >&2
  exit 1
fi
[ -f "$HOME/zpmv48.ini" ] || { echo "no settings file after exit" >&2; exit 1; }
echo "installed package works"
