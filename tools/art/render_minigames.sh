#!/usr/bin/env bash
# Renders the mini-games' pictures from their SVG sources in tools/art/minigames/
# to data/Texture/MiniGames/. Some sources build on the rendering of another (the
# letter's scraps on the whole page, the photographs on their shared picture, the
# difference patches on the second photograph): those in-between pictures are
# made beside their sources, used, and removed again. The handwriting needs the
# font Z003 (Debian: fonts-urw-base35), installed here when missing and run as root.
#
#   bash tools/art/render_minigames.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SRC="$ROOT/tools/art/minigames"
OUT="$ROOT/data/Texture/MiniGames"

if ! fc-list 2>/dev/null | grep -q Z003; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y fonts-urw-base35 >/dev/null
  else
    echo "font Z003 missing (Debian: fonts-urw-base35): the letter would be written in another hand" >&2
  fi
fi

# render SOURCE TARGET: one SVG to one PNG under data/Texture/MiniGames.
render() {
  mkdir -p "$(dirname "$OUT/$2")"
  rsvg-convert "$SRC/$1" -o "$OUT/$2"
  echo "$OUT/$2"
}
# between SOURCE: an in-between picture beside its source, for the sources that build on it.
between() { rsvg-convert "$SRC/$1" -o "$SRC/${1%.svg}.png"; }
TEMPS=("$SRC/letter/page.png" "$SRC/photos/base.png" "$SRC/photos/photo_a.png" "$SRC/photos/photo_b.png")
trap 'rm -f "${TEMPS[@]}"' EXIT

render SkipButton.svg SkipButton.png

# 15.2: the torn letter
render letter/background.svg Letter/background.png
between letter/page.svg
for k in 1 2 3 4 5 6; do render "letter/scrap$k.svg" "Letter/scrap$k.png"; done
render letter/pin.svg Letter/pin.png

# 1.1: the drawer of pairs
render drawer/background.svg Drawer/background.png
render drawer/items.svg Drawer/items.png

# 4.1: the two photographs
render photos/background.svg Photos/background.png
between photos/base.svg
between photos/photo_a.svg
between photos/photo_b.svg
render photos/panel.svg Photos/panel.png
for k in 1 2 3 4 5; do render "photos/patch$k.svg" "Photos/patch$k.png"; done
render photos/ring.svg Photos/ring.png

# 2.2: the watchman's rack
render rack/background.svg Rack/background.png
render rack/pieces.svg Rack/pieces.png

# 5.2: the signal plaques
render plaques/background.svg Plaques/background.png
render plaques/plaques.svg Plaques/plaques.png
render plaques/lock.svg Plaques/lock.png

# 6.2: the bottles
render bottles/background.svg Bottles/background.png
render bottles/bottles.svg Bottles/bottles.png
