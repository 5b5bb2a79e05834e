#!/usr/bin/env bash
# Renders the main menu's sea and its rocks and the load screen's night town
# from their SVG sources in tools/art/menu/ into data/Texture/. Needs
# rsvg-convert (Debian: librsvg2-bin). Runs on its own or from tools/make_art.sh.
#
#   bash tools/art/render_menu.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SRC="$ROOT/tools/art/menu"
TEX="$ROOT/data/Texture"

if ! command -v rsvg-convert >/dev/null; then
  echo "rsvg-convert missing (apt-get install librsvg2-bin): menu pictures left as they are"
  exit 0
fi

# render <source name> <target path under data/Texture>
render() {
  mkdir -p "$(dirname "$TEX/$2")"
  rsvg-convert "$SRC/$1.svg" -o "$TEX/$2"
  echo "$TEX/$2"
}

render MenuBackground MainMenu/MenuBackground.png
render MenuRocks MainMenu/MenuRocks.png
render LoadBackground LoadBackground.png
