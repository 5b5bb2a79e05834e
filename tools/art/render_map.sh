#!/usr/bin/env bash
# Renders the global map and the intro's pictures from their SVG sources in
# tools/art/map/ into data/Texture/Map/: the map of Drovalin, the four level-node
# markers, the flags of the banner flight, the star of the newest node, the
# scroll cursors and the intro's four drifting layers. Needs rsvg-convert
# (Debian: librsvg2-bin). Runs on its own or from tools/make_content.sh.
#
#   bash tools/art/render_map.sh [data folder]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
DATA="${1:-$ROOT/data}"
SRC="$ROOT/tools/art/map"
OUT="$DATA/Texture/Map"

if ! command -v rsvg-convert >/dev/null; then
  echo "rsvg-convert missing (apt-get install librsvg2-bin): map pictures left as they are"
  exit 0
fi
mkdir -p "$OUT"

for name in GlobalMap NodeHouse NodeTownHall NodeCrane NodeWarehouse Flags Star Cursors \
            Frame1 Frame2 Frame3 Frame4; do
  rsvg-convert "$SRC/$name.svg" -o "$OUT/$name.png"
  echo "$OUT/$name.png"
done
