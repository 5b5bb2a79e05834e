#!/usr/bin/env bash
# Renders the hand-written SVG art in tools/art/ to the PNGs the game loads.
# The PNGs are committed; only this script needs rsvg-convert (Debian:
# librsvg2-bin, installed here when missing and run as root). Each picture is
# rendered at the size its SVG declares. Then the content checker runs on data/
# from the build folder BUILD (default build/) when that is configured; it is
# built with JOBS parallel jobs (default: every core, nproc).
#
#   bash tools/make_art.sh           every folder below
#   bash tools/make_art.sh FOLDER    the folder tools/art/FOLDER alone: a scene's
#                                    (study, townhall, docks, warehouse,
#                                    crimeplace, sewer) or interface, minigames,
#                                    menu; its PNGs are those of the whole run
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ART="$ROOT/tools/art"
DATA="$ROOT/data"
JOBS="${JOBS:-$(nproc)}"
ONLY="${1:-}"

# The scenes' folders, FOLDER:Scene each: the folder is named as the scene file
# in lower case, and every SVG in it renders to a PNG of the same name in
# data/Texture/Scenes/<Scene>/. The study (group 10); the town hall, the docks
# and the warehouse (groups 12, 13, 14); the crime place, the town hall archive
# after the office (group 26: the background, the things, the lantern strip, the
# measuring tool's dividers, reticle and thread); the culvert under the docks
# (group 27, the dark scene: the dark itself is the shared flashlight picture).
SCENES="study:Study townhall:TownHall docks:Docks warehouse:Warehouse crimeplace:CrimePlace sewer:Sewer"

# wanted FOLDER: true when FOLDER is rendered in this run.
wanted() { [ -z "$ONLY" ] || [ "$ONLY" = "$1" ]; }

FOLDERS="interface $(for s in $SCENES; do printf '%s ' "${s%%:*}"; done)minigames menu"
if [ -n "$ONLY" ] && ! [[ " $FOLDERS " == *" $ONLY "* ]]; then
  echo "make_art.sh: tools/art/$ONLY is not rendered here; the folders are: $FOLDERS" >&2
  exit 1
fi

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
if wanted interface; then
  render interface/InGamePanel.svg                 Texture/Interface/InGamePanel.png
  render interface/InGamePanelRecess.svg           Texture/Interface/InGamePanelRecess.png
  render interface/Inventory.svg                   Texture/Interface/Inventory.png
  render interface/MagnifyingGlassTool.svg         Texture/Interface/MagnifyingGlassTool.png
  render interface/PlayCursor.svg                  Texture/Cursors/PlayCursor.png
  render interface/DiffCursor.svg                  Texture/Cursors/DiffCursor.png
  render interface/MagnifyingGlassCursorDiff.svg   Texture/Cursors/MagnifyingGlassCursorDiff.png
fi

# ---------------------------------------------------------------- the scenes
for scene in $SCENES; do
  folder="${scene%%:*}"
  if ! wanted "$folder"; then continue; fi
  for svg in "$ART/$folder"/*.svg; do
    name="$(basename "$svg" .svg)"
    render "$folder/$name.svg" "Texture/Scenes/${scene##*:}/$name.png"
  done
done

# ---------------------------------------------------------------- mini-games (groups 50 to 55, Skip button shared)
if wanted minigames; then bash "$ROOT/tools/art/render_minigames.sh"; fi

# ---------------------------------------------------------------- main menu sea and rocks, load screen
if wanted menu; then bash "$ROOT/tools/art/render_menu.sh"; fi

# ---------------------------------------------------------------- the content checker
# make_content.sh sets CONTENT_CHECK=0 and runs it once after everything it makes.
if [ "${CONTENT_CHECK:-1}" = 1 ]; then
  BUILD="${BUILD:-$ROOT/build}"
  if [ -f "$BUILD/CMakeCache.txt" ]; then
    cmake --build "$BUILD" -j"$JOBS" --target content_check >/dev/null
    "$BUILD/content_check" "$DATA" --gtest_brief=1
  else
    echo "no configured build in $BUILD: content not checked"
  fi
fi
