#!/usr/bin/env bash
# Renders the hand-written SVG art in tools/art/ to the PNGs the game loads.
# The PNGs are committed; only this script needs rsvg-convert (Debian:
# librsvg2-bin, installed here when missing and run as root). Each picture is
# rendered at the size its SVG declares. Then the content checker runs on data/
# from the build folder BUILD (default build/) when that is configured.
#
#   bash tools/make_art.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ART="$ROOT/tools/art"
DATA="$ROOT/data"

if ! command -v rsvg-convert >/dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y librsvg2-bin >/dev/null
  else
    echo "rsvg-convert missing (Debian: librsvg2-bin): pictures left as they are"
    exit 0
  fi
fi

# render SOURCE TARGET: one SVG to one PNG.
render() {
  mkdir -p "$(dirname "$DATA/$2")"
  rsvg-convert "$ART/$1" -o "$DATA/$2"
  echo "$DATA/$2"
}

# ---------------------------------------------------------------- play field (shared)
render interface/InGamePanel.svg                 Texture/Interface/InGamePanel.png
render interface/InGamePanelRecess.svg           Texture/Interface/InGamePanelRecess.png
render interface/Inventory.svg                   Texture/Interface/Inventory.png
render interface/MagnifyingGlassTool.svg         Texture/Interface/MagnifyingGlassTool.png
render interface/PlayCursor.svg                  Texture/Cursors/PlayCursor.png
render interface/DiffCursor.svg                  Texture/Cursors/DiffCursor.png
render interface/MagnifyingGlassCursorDiff.svg   Texture/Cursors/MagnifyingGlassCursorDiff.png

# ---------------------------------------------------------------- the study (scene group 10)
# Every SVG in tools/art/study/ (the listed things, the things on no list, the
# animation strips) renders to a PNG of the same name.
for svg in "$ART"/study/*.svg; do
  render "study/$(basename "$svg")" "Texture/Scenes/Study/$(basename "$svg" .svg).png"
done

# ---------------------------------------------------------------- the chained scenes (groups 12, 13, 14)
# Each scene's folder in tools/art/ holds its background and its objects; every
# SVG there renders to a PNG of the same name.
for scene in townhall:TownHall docks:Docks warehouse:Warehouse; do
  for svg in "$ART/${scene%%:*}"/*.svg; do
    name="$(basename "$svg" .svg)"
    render "${scene%%:*}/$name.svg" "Texture/Scenes/${scene##*:}/$name.png"
  done
done

# ---------------------------------------------------------------- the crime place (scene group 26)
# The town hall archive after the office: every SVG in tools/art/crimeplace/ (the
# background, the things, the lantern strip, the measuring tool's dividers, reticle
# and thread) renders to a PNG of the same name.
for svg in "$ART"/crimeplace/*.svg; do
  render "crimeplace/$(basename "$svg")" "Texture/Scenes/CrimePlace/$(basename "$svg" .svg).png"
done

# ---------------------------------------------------------------- the culvert under the docks (group 27)
# The dark scene after the docks: every SVG in tools/art/sewer/ renders to a PNG
# of the same name (the dark itself is the shared flashlight picture).
for svg in "$ART"/sewer/*.svg; do
  render "sewer/$(basename "$svg")" "Texture/Scenes/Sewer/$(basename "$svg" .svg).png"
done

# ---------------------------------------------------------------- mini-games (groups 50 to 55, Skip button shared)
bash "$ROOT/tools/art/render_minigames.sh"

# ---------------------------------------------------------------- main menu sea and rocks, load screen
bash "$ROOT/tools/art/render_menu.sh"

# ---------------------------------------------------------------- the content checker
# make_content.sh sets CONTENT_CHECK=0 and runs it once after everything it makes.
if [ "${CONTENT_CHECK:-1}" = 1 ]; then
  BUILD="${BUILD:-$ROOT/build}"
  if [ -f "$BUILD/CMakeCache.txt" ]; then
    cmake --build "$BUILD" -j8 --target content_check >/dev/null
    "$BUILD/content_check" "$DATA" --gtest_brief=1
  else
    echo "no configured build in $BUILD: content not checked"
  fi
fi
