#!/usr/bin/env bash
# Renders the level screen's pictures from their SVG sources in tools/art/level/
# into data/Texture/: the panel's brass buttons and evidence-case button, the
# pocket-watch clock, the cigars and their smoulder, the magnifying glass and
# the clue bullet; the open evidence case with its close button, and the six
# evidence items, each as a small picture and as a zoomed one.
# Needs rsvg-convert (Debian: librsvg2-bin). Runs on its own or from
# tools/make_content.sh.
#
#   bash tools/art/render_level.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SRC="$ROOT/tools/art/level"
TEX="$ROOT/data/Texture"

if ! command -v rsvg-convert >/dev/null; then
  echo "rsvg-convert missing (Debian: librsvg2-bin): level pictures left as they are"
  exit 0
fi

# render SOURCE TARGET [SIZE]: one SVG to one PNG, at the size the SVG declares
# or scaled to SIZE x SIZE.
render() {
  mkdir -p "$(dirname "$TEX/$2")"
  if [ $# -ge 3 ]; then
    rsvg-convert -w "$3" -h "$3" "$SRC/$1.svg" -o "$TEX/$2"
  else
    rsvg-convert "$SRC/$1.svg" -o "$TEX/$2"
  fi
  echo "$TEX/$2"
}

# ---- panel
render HelpButton Interface/HelpButton.png
render PauseButton Interface/PauseButton.png
render MenuButton Interface/MenuButton.png
render CaseButton Interface/CaseButton.png
render Clock Interface/Clock.png
render Cigar Interface/Cigar.png
render CigarHighlighted Interface/CigarHighlighted.png
render CigarSmolder Interface/CigarSmolder.png
render MagnifyingGlass Interface/MagnifyingGlass.png
render Marker Interface/Marker.png

# ---- evidence case
render BagBG Bag/BagBG.png
render CloseHelp Buttons/InGameCloseHelp.png
# Each item is drawn once on a 400 x 400 canvas: the zoom at full size, the
# picture in the case at a quarter of it.
for item in TornTicket BrassButton PawnReceipt SealedLetter FootprintCast Handkerchief; do
  render "$item" "Bag/${item}Zoom.png"
  render "$item" "Bag/${item}.png" 100
done
