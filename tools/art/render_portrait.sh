#!/usr/bin/env bash
# Renders the harbour painting of the find-the-differences scene, its gilt
# divider, the pointer "YCursor" and the measuring and flashlight tools from the
# SVG sources in tools/art/portrait/ into data/Texture/.
#
# The painting is one SVG. The base picture carries the upper half's variant
# of every difference, so that a found difference (both of its objects leave)
# leaves the whole picture in both halves. The upper object is that variant
# alone, cut out at its place; the lower object is the other variant on a patch
# of the bare picture (every difference hidden) that covers both variants, so
# that it hides the base's one. The cut-outs below must agree with
# data/Scenes/Portrait.xml: an object stands at the centre of its cut-out (its
# hot spot is the centre).
#
#   bash tools/art/render_portrait.sh [data folder]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
DATA="${1:-$ROOT/data}"
SRC="$ROOT/tools/art/portrait"
OUT="$DATA/Texture/Portrait"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
mkdir -p "$OUT" "$DATA/Texture/Cursors"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# upper variant (in the base), lower variant, cut-out x, y, width, height
# (painting coordinates)
DIFFERENCES="
sail_red      sail_blue     460 162 56 70
window_dark   window_lit    318  40 36 40
gull_perched  gull_flying   682 206 50 46
flag_two      flag_three    760 142 48 38
chimney_plain chimney_smoke 894 100 36 90
boat_two      boat_one      594 276 90 54
"
ids=$(echo "$DIFFERENCES" | awk 'NF { print $1; print $2 }')
lower=$(echo "$DIFFERENCES" | awk 'NF { print $2 }')

hide() {  # the style sheet hiding the given ids
  local name
  for name in "$@"; do echo "#$name { display: none; }"; done
}

hide $lower > "$TMP/base.css"
rsvg-convert -s "$TMP/base.css" "$SRC/harbour.svg" -o "$OUT/Harbour.png"
echo "$OUT/Harbour.png"
hide $ids > "$TMP/bare.css"

# cut ID X Y W H CSS FILE: the painting under the style sheet, cut out.
cut() {
  rsvg-convert -s "$6" --page-width="$4" --page-height="$5" --left="-$2" --top="-$3" "$SRC/harbour.svg" -o "$7"
}

echo "$DIFFERENCES" | while read -r up low x y w h; do
  [ -n "$up" ] || continue
  for id in $up $low; do
    hide base frame $(echo "$ids" | grep -vx "$id") > "$TMP/$id.css"
    cut "$id" "$x" "$y" "$w" "$h" "$TMP/$id.css" "$TMP/$id.png"
  done
  cp "$TMP/$up.png" "$OUT/$up.png"
  echo "$OUT/$up.png"
  # The lower variant over the bare picture, masked to both variants' shapes
  # grown by a pixel, their faint parts (a quarter opaque or more) made solid.
  cut bare "$x" "$y" "$w" "$h" "$TMP/bare.css" "$TMP/bare_$low.png"
  cat > "$TMP/patch_$low.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="$w" height="$h">
  <defs>
    <filter id="solid" x="0" y="0" width="$w" height="$h" filterUnits="userSpaceOnUse">
      <feMorphology operator="dilate" radius="1"/>
      <feColorMatrix type="matrix" values="0 0 0 0 1  0 0 0 0 1  0 0 0 0 1  0 0 0 4 0"/>
    </filter>
    <mask id="cover" maskUnits="userSpaceOnUse" x="0" y="0" width="$w" height="$h">
      <g filter="url(#solid)">
        <image xlink:href="$up.png" width="$w" height="$h"/>
        <image xlink:href="$low.png" width="$w" height="$h"/>
      </g>
    </mask>
  </defs>
  <image xlink:href="bare_$low.png" width="$w" height="$h" mask="url(#cover)"/>
  <image xlink:href="$low.png" width="$w" height="$h"/>
</svg>
SVG
  rsvg-convert "$TMP/patch_$low.svg" -o "$OUT/$low.png"
  echo "$OUT/$low.png"
done

rsvg-convert "$SRC/divider.svg" -o "$OUT/DividingLine.png"
echo "$OUT/DividingLine.png"
rsvg-convert "$SRC/ycursor.svg" -o "$DATA/Texture/Cursors/YCursor.png"
echo "$DATA/Texture/Cursors/YCursor.png"
for tool in Flashlight; do
  rsvg-convert "$SRC/tools/$tool.svg" -o "$DATA/Texture/Cursors/$tool.png"
  echo "$DATA/Texture/Cursors/$tool.png"
done
