#!/usr/bin/env bash
# Renders the harbour painting of the find-the-differences scene, its gilt
# divider, the pointer "YCursor" and the measuring and flashlight tools from the
# SVG sources in tools/art/portrait/ into data/Texture/.
#
# The painting is one SVG: the base is rendered with every difference hidden,
# each difference alone (everything else hidden) and cut out at its place in
# the picture. The cut-outs below must agree with data/Scenes/Portrait.xml: an
# object stands at the centre of its cut-out (its hot spot is the centre).
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

# difference id, cut-out x, y, width, height (painting coordinates)
DIFFERENCES="
sail_red      460 162 56 70
sail_blue     460 162 56 70
window_lit    318  40 36 40
window_dark   318  40 36 40
gull_flying   682 206 50 46
gull_perched  682 206 50 46
flag_two      760 142 48 38
flag_three    760 142 48 38
chimney_smoke 894 100 36 90
chimney_plain 894 100 36 90
boat_one      594 276 90 54
boat_two      594 276 90 54
"
ids=$(echo "$DIFFERENCES" | awk 'NF { print $1 }')

hide() {  # the style sheet hiding the given ids
  local name
  for name in "$@"; do echo "#$name { display: none; }"; done
}

hide $ids > "$TMP/base.css"
rsvg-convert -s "$TMP/base.css" "$SRC/harbour.svg" -o "$OUT/Harbour.png"
echo "$OUT/Harbour.png"

echo "$DIFFERENCES" | while read -r id x y w h; do
  [ -n "$id" ] || continue
  others=$(echo "$ids" | grep -vx "$id")
  hide base frame $others > "$TMP/$id.css"
  rsvg-convert -s "$TMP/$id.css" --page-width="$w" --page-height="$h" --left="-$x" --top="-$y" \
    "$SRC/harbour.svg" -o "$OUT/$id.png"
  echo "$OUT/$id.png"
done

rsvg-convert "$SRC/divider.svg" -o "$OUT/DividingLine.png"
echo "$OUT/DividingLine.png"
rsvg-convert "$SRC/ycursor.svg" -o "$DATA/Texture/Cursors/YCursor.png"
echo "$DATA/Texture/Cursors/YCursor.png"
for tool in Compass CompassCursor MeasureLine Flashlight; do
  rsvg-convert "$SRC/tools/$tool.svg" -o "$DATA/Texture/Cursors/$tool.png"
  echo "$DATA/Texture/Cursors/$tool.png"
done
