#!/bin/bash
# Builds the Debian package, checks its content and the desktop files, unpacks it into a scratch
# root, checks there that a .kvr file is a ZPM job that ZPM opens, and starts the installed
# zpm-demo under Xvfb until its main window shows.
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
         ./usr/share/mime/packages/com.zepmonic.zpm.xml \
         ./usr/lib/udev/rules.d/70-zpm-vantor.rules \
         ./usr/share/locale/en/LC_MESSAGES/zpm.mo; do
  grep -qx -- "$f" <<<"$listing" || { echo "missing in the package: $f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q "libwxgtk3.2" <<<"$depends" || { echo "dependencies not computed from the binaries" >&2; exit 1; }
grep -q "libusb-0.1-4" <<<"$depends" || { echo "libusb 0.1 missing from the dependencies" >&2; exit 1; }
triggers=$(dpkg-deb -I "$deb" triggers)
for t in "activate-noawait /usr/share/mime/packages" "activate-noawait /usr/share/applications"; do
  grep -qx "$t" <<<"$triggers" || { echo "the package does not activate: $t" >&2; exit 1; }
done

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root/usr/share/metainfo/com.zepmonic.zpm.metainfo.xml"
# Both programs take a file; only ZPM itself claims job files, so a double-click on a measurement
# never lands in the training program.
for entry in "$root"/usr/share/applications/*.desktop; do
  grep -q "^Exec=.* %f$" "$entry" || { echo "$entry: takes no file" >&2; exit 1; }
done
grep -qx "MimeType=application/x-zpm-job;" "$root/usr/share/applications/com.zepmonic.zpm.desktop" ||
  { echo "the ZPM entry does not claim job files" >&2; exit 1; }

# What the triggers run on a real installation, here for the scratch root; then the desktop asks
# what a .kvr file is and what opens it, seeing only the scratch root's data.
update-mime-database "$root/usr/share/mime"
update-desktop-database "$root/usr/share/applications"
printf '480000\n0\n' >"$work/Messung.kvr"
printf '480000\n0\n' >"$work/Messung.txt"
mime() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_DIRS="$root/usr/share" XDG_DATA_HOME="$work/no-user-data" XDG_CONFIG_HOME="$work/no-user-config" \
    XDG_CONFIG_DIRS="$work/no-config" xdg-mime query "$@"
}
type=$(mime filetype "$work/Messung.kvr")
[ "$type" = "application/x-zpm-job" ] || { echo "xdg-mime: Messung.kvr is '$type'" >&2; exit 1; }
other=$(mime filetype "$work/Messung.txt")
[ "$other" != "application/x-zpm-job" ] || { echo "xdg-mime: every file is a job file" >&2; exit 1; }
opener=$(mime default application/x-zpm-job)
[ "$opener" = "com.zepmonic.zpm.desktop" ] || { echo "xdg-mime: job files open with '$opener'" >&2; exit 1; }
echo "xdg-mime: Messung.kvr is $type, opened by $opener"

. "$src/scripts/xsession.sh"
xsession_start
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
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
[ -f "$HOME/.config/zpm/zpmv48.ini" ] || { echo "no settings file after exit" >&2; exit 1; }
# In English: the installed program finds the installed catalog (share/locale beside bin/).
LANGUAGE=en "$root/usr/bin/zpm-demo" 2>"$work/stderr" &
app=$!
if ! xsession_wait_window Untitled 60; then
  echo "the installed zpm-demo showed no English main window" >&2
  wmctrl -l >&2 || true
  kill "$app" 2>/dev/null || true
  exit 1
fi
wmctrl -c Untitled
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  kill "$app"
  echo "zpm-demo in English did not close" >&2
  exit 1
fi
echo "installed package works"
