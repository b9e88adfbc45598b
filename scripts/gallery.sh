#!/bin/bash
# Screenshots every page of the gallery under Xvfb into PNG files. Pages named "x2-..." are shown
# on a desktop that scales by 2 (GDK_SCALE=2), on a screen large enough for them.
#   scripts/gallery.sh [build dir] [output dir] [page name pattern]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/gallery}
gallery=$build/tests/gallery/zpm_gallery
[ -x "$gallery" ] || cmake --build "$build" --target zpm_gallery
pattern=${3:-*}
mkdir -p "$out"
. scripts/xsession.sh
XSESSION_SCREEN=3200x2400x24 xsession_start
export HOME=$(mktemp -d)
unset XDG_CONFIG_HOME XDG_DATA_HOME  # the desktop folders of the scratch HOME
mkdir -p "$HOME/.config/zpm"
printf '1\n98\n0\n0\n0\n0\n0\n' > "$HOME/.config/zpm/zpmv48.ini"
# Menus with their pictures, as desktops that switch them on show them (GTK hides them by default).
mkdir -p "$HOME/.config/gtk-3.0"
printf '[Settings]\ngtk-menu-images=1\n' > "$HOME/.config/gtk-3.0/settings.ini"
# The gallery answers --list without opening a window (and so with a non-zero status).
list=$("$gallery" --list || true)
while IFS=: read -r page settle keys; do
  # shellcheck disable=SC2254
  case $page in $pattern) ;; *) continue ;; esac
  scale=1
  case $page in x2-*) scale=2 ;; esac
  GDK_SCALE=$scale "$gallery" --page "$page" </dev/null &
  pid=$!
  # Pages draw at once; give the window manager and the first paints a moment.
  for _ in $(seq 50); do
    [ "$(wmctrl -l | wc -l)" -gt 0 ] && break
    sleep 0.1
  done
  if [ -n "$keys" ]; then
    sleep 1
    xdotool key --clearmodifiers "$keys"
  fi
  sleep "$settle"
  import -window root -trim +repage "$out/$page.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out/$page.png"
done <<<"$list"
rm -rf "$HOME"
