#!/bin/sh
# Installs the Debian packages that building, running or testing ZPM needs, and only those that
# are missing. Usage: scripts/install-deps.sh run|test
set -e
what=${1:-test}

# gettext: msgfmt builds the catalogs of the program's texts; the test checks them with it.
# librsvg2-common: the toolkit's theme draws its symbolic icons (print dialog, file dialogs) from SVG.
run_pkgs="cmake ninja-build g++ pkg-config libwxgtk3.2-dev libgtk-3-dev librsvg2-common libusb-dev xvfb xauth openbox wmctrl x11-utils imagemagick gettext"
test_pkgs="$run_pkgs googletest libgtest-dev libbenchmark-dev xdotool umockdev libumockdev-dev
  clang-14 libclang-rt-14-dev gnumeric poppler-utils desktop-file-utils appstream dpkg-dev fakeroot
  librsvg2-bin ccache file binutils xdg-utils libfile-mimeinfo-perl shared-mime-info locales tzdata"
case "$what" in
  run) pkgs=$run_pkgs ;;
  *) pkgs=$test_pkgs ;;
esac

missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
