#!/bin/bash
# Renders the artwork (src/resources/artwork/*.svg) into the pictures compiled into the program:
# the XPM pictures at their stated sizes (src/resources/xpm/*.xpm) and, for screens that draw
# two device pixels per point, the same pictures at twice the size as PNG (src/resources/x2/*.png).
# Run it after changing a source and commit all three; the build itself needs neither tool.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick (imagemagick).
#   scripts/render-artwork.sh [--sheet FILE.png]
# --sheet also writes every picture, enlarged, into one PNG for review.
set -euo pipefail
cd "$(dirname "$0")/.."
art=src/resources/artwork
out=src/resources/xpm
out2=src/resources/x2
sheet=""
if [ "${1:-}" = "--sheet" ]; then
  sheet=$(realpath -m "$2")
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The plain ImageMagick 6 binary when it is there, whatever else is called convert.
convert=$(command -v convert-im6.q16 || command -v convert)
face='#ECE9D8'
mkdir -p "$out" "$out2"
# The pass being rendered: k device pixels per picture pixel (1: XPM, 2: PNG at twice the size).
k=1

# render SVG WIDTH HEIGHT PNG: rasterises an artwork source at the picture's size in this pass.
render() { rsvg-convert -w $(($2 * k)) -h $(($3 * k)) "$art/$1.svg" -o "$4"; }

# to_png PNG NAME: writes NAME.png of the double-size pass, without time stamps, so that the same
# sources give the same bytes.
to_png() {
  "$convert" "$1" -strip -define png:exclude-chunks=date,time -define png:compression-level=9 "$out2/$2.png"
}

# to_xpm PNG NAME: writes NAME.xpm with the array NAME_xpm, const for C++.
to_xpm() {
  "$convert" "$1" -depth 8 "$tmp/x.xpm"
  sed -e '2s/.*/static const char* const '"$2"'_xpm[] = {/' "$tmp/x.xpm" > "$out/$2.xpm"
  if [ -n "$sheet" ]; then
    # Small pictures, enlarged four times; the large ones are looked at on their own.
    if [ "$("$convert" "$1" -format '%w' info:)" -le 128 ]; then
      sheet_n=$((sheet_n + 1))
      "$convert" "$1" -filter point -resize 400% "$tmp/sheet-$(printf '%03d' "$sheet_n")-$2.png"
    fi
  fi
}
sheet_n=0

# opaque PNG NAME: flattened on the face colour (the button pictures are drawn without mask in
# the tips dialog, so no pixel may be transparent). The XPM keeps at most 255 colours; the PNG of
# the double-size pass keeps them all.
opaque() {
  if [ "$k" -ne 1 ]; then
    "$convert" "$1" -background "$face" -flatten -alpha off "$tmp/o.png"
    to_png "$tmp/o.png" "$2"
    return
  fi
  local size w h
  size=$("$convert" "$1" -format '%w %h' info:)
  w=${size% *}
  h=${size#* }
  local colours=()
  [ $((w * h)) -gt 10000 ] && colours=(-dither FloydSteinberg -colors 255)
  "$convert" -size "${w}x${h}" "xc:$face" "$1" -composite -alpha off "${colours[@]}" "$tmp/o.png"
  to_xpm "$tmp/o.png" "$2"
}

# transparent PNG NAME: pixels less than half covered become "None"; edges keep their colour.
# The PNG of the double-size pass keeps its soft edges.
transparent() {
  if [ "$k" -ne 1 ]; then
    to_png "$1" "$2"
    return
  fi
  "$convert" "$1" -channel A -threshold 50% +channel "$tmp/t.png"
  to_xpm "$tmp/t.png" "$2"
}

# framed SVG NAME WxH: the motif alone, in the raised frame (hover) and, moved by one pixel,
# in the sunken frame (pressed); one picture pixel is k device pixels.
framed() {
  local w=${3%x*} h=${3#*x}
  render "$1" "$w" "$h" "$tmp/m.png"
  render "frame-hover-$3" "$w" "$h" "$tmp/fh.png"
  render "frame-pressed-$3" "$w" "$h" "$tmp/fp.png"
  opaque "$tmp/m.png" "$2"
  "$convert" "$tmp/fh.png" "$tmp/m.png" -composite "$tmp/h.png"
  opaque "$tmp/h.png" "$2_hover"
  "$convert" "$tmp/fp.png" \( "$tmp/m.png" -repage +$k+$k \) -background none -flatten "$tmp/p.png"
  opaque "$tmp/p.png" "$2_pressed"
}

# faced GLYPH NAME: a round logger face carrying a glyph, normal, hover (lighter ring) and
# pressed in (glyph moved by one pixel, slightly shaded).
faced() {
  render "glyph-$1" 70 70 "$tmp/g.png"
  for state in normal hover pressed; do
    render "face-$state" 70 70 "$tmp/f-$state.png"
  done
  "$convert" "$tmp/f-normal.png" "$tmp/g.png" -composite "$tmp/n.png"
  opaque "$tmp/n.png" "$2"
  "$convert" "$tmp/f-hover.png" "$tmp/g.png" -composite "$tmp/h.png"
  opaque "$tmp/h.png" "$2_hover"
  "$convert" "$tmp/f-pressed.png" \( "$tmp/g.png" -modulate 92 -repage +$k+$k \) -background none -flatten "$tmp/p.png"
  opaque "$tmp/p.png" "$2_pressed"
}

# plain SVG NAME WxH: one opaque picture.
plain() {
  render "$1" "${3%x*}" "${3#*x}" "$tmp/s.png"
  opaque "$tmp/s.png" "$2"
}

# pictures: every picture of the program, rendered in the current pass.
pictures() {
# File row, 50 x 50.
framed open open 50x50
framed save save 50x50
framed print print 50x50
framed camera camera 50x50
# Series buttons, 50 x 50.
framed flow-series flow_series 50x50
framed volume-series volume_series 50x50
framed pressure-series pressure_series 50x50
# Chart tools, 35 x 30.
framed zoom-in zoom_in 35x30
framed zoom-out zoom_out 35x30
framed measure measure 35x30
framed grid grid 35x30
framed points points 35x30
framed filter filter 35x30
# Logo, tip, logger faces, connection pictures, splash.
plain logo logo 98x60
plain help-tip help_tip 70x70
faced record record_face
faced stop stop_face
faced settings settings_face
faced clear clear_face
faced upload upload_face
plain connection-answered connection_answered 280x70
plain connection-not-answered connection_not_answered 280x70
plain connection-written connection_written 280x70
plain splash splash 640x540
# Menu icons, 16 x 15, transparent.
for m in open save print; do
  render "menu-$m" 16 15 "$tmp/menu.png"
  transparent "$tmp/menu.png" "menu_$m"
done
}

pictures
# The double-size pass: every picture above except the application icon, which comes in sizes
# of its own.
k=2
review_sheet=$sheet
sheet=""
pictures
sheet=$review_sheet
k=1
# Application icon, transparent; 16 and 24 pixels have their own simpler drawings.
for px in 16 24 32 48 64 128; do
  src=zpm
  [ "$px" -le 24 ] && src=zpm-$px
  render "$src" "$px" "$px" "$tmp/icon.png"
  transparent "$tmp/icon.png" "zpm_$px"
done

if [ -n "$sheet" ]; then
  montage "$tmp"/sheet-*.png -background '#B0B0B0' -geometry '+6+6' -tile 9x "$sheet"
  echo "$sheet"
fi
echo "$(find "$out" -name "*.xpm" | wc -l) pictures in $out, $(find "$out2" -name "*.png" | wc -l) in $out2"
