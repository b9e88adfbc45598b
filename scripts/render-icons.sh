#!/bin/bash
# Renders the application icon (the red fire engine) into the hicolor PNG sizes that the package
# installs. The small sizes have drawings of their own. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
art=src/resources/artwork
out=packaging/icons
for px in 16 24 32 48 64 128; do
  src=$art/zpm.svg
  [ -f "$art/zpm-$px.svg" ] && src=$art/zpm-$px.svg
  mkdir -p "$out/$px"
  rsvg-convert -w "$px" -h "$px" "$src" -o "$out/$px/com.zepmonic.zpm.png"
done
mkdir -p "$out/scalable"
cp "$art/zpm.svg" "$out/scalable/com.zepmonic.zpm.svg"
