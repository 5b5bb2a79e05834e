#!/usr/bin/env bash
# Regenerates the content pack in data/ from the generators in tools/.
# Fonts, particle files and pictures are built by the C++ tools; the text tables
# are converted from their UTF-8 sources in tools/text/ to Windows-1250 bytes.
# Sounds and music come from tools/make_sounds.sh, run here too when sox and
# oggenc are installed (skip them with --no-sounds). The painted pictures are
# SVG sources in tools/art/, rendered by tools/make_art.sh (--art-only runs
# that step alone, for every folder it renders or for one FOLDER of tools/art/).
# Last, the content checker (build/content_check) runs on data/. The tools are
# built with JOBS parallel jobs (default: every core, nproc).
#
#   bash tools/make_content.sh [--no-sounds] [build folder]
#   bash tools/make_content.sh --art-only [FOLDER]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "${1:-}" = "--art-only" ]; then exec bash "$ROOT/tools/make_art.sh" "${@:2}"; fi
SOUNDS=1
if [ "${1:-}" = "--no-sounds" ]; then SOUNDS=0; shift; fi
BUILD="${1:-$ROOT/build}"
JOBS="${JOBS:-$(nproc)}"
DATA="$ROOT/data"
TTF=/usr/share/fonts/truetype/dejavu

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j"$JOBS" --target fontgen psigen texgen fishgen >/dev/null

mkdir -p "$DATA/Font" "$DATA/ParticleSystem" "$DATA/Particle" "$DATA/Text" \
  "$DATA/Texture/Particles" "$DATA/Texture/Buttons" "$DATA/Texture/Windows" "$DATA/Texture/Logos"

"$BUILD/tools/fontgen" "$DATA/Font" "$TTF"
"$BUILD/tools/psigen" "$DATA"
mkdir -p "$DATA/Texture/MainMenu"
"$BUILD/tools/texgen" "$DATA" "$TTF"
"$BUILD/tools/fishgen" "$DATA"

# ---------------------------------------------------------------- SVG art
CONTENT_CHECK=0 bash "$ROOT/tools/make_art.sh"

# ---- level screen: panel buttons, clock, cigars, glass, evidence case and items
bash "$ROOT/tools/art/render_level.sh"

for lang in English Czech; do
  iconv -f UTF-8 -t CP1250 "$ROOT/tools/text/$lang.txt" > "$DATA/Text/$lang.txt"
  echo "$DATA/Text/$lang.txt"
done

# ---- story pictures: score window hero and medals, comic characters and
# bubble, the final picture, the in-game button (SVG sources, rsvg-convert)
bash "$ROOT/tools/art/render_story.sh"

if [ $SOUNDS -eq 1 ]; then
  if command -v sox >/dev/null && command -v oggenc >/dev/null; then
    bash "$ROOT/tools/make_sounds.sh"
  else
    echo "sox or oggenc missing: sounds and music left as they are"
  fi
fi

# ---- Harbour painting (find-the-differences scene), divider, pointer, measuring
# ---- tool and flashlight: SVG sources in tools/art/portrait/ through rsvg-convert.
if command -v rsvg-convert >/dev/null; then
  bash "$ROOT/tools/art/render_portrait.sh" "$DATA"
else
  echo "rsvg-convert missing (librsvg2-bin): the painting's pictures left as they are"
fi

# ---- global map and intro: the map of Drovalin, node markers, banner-flight
# ---- flags, the star, scroll cursors and the intro's four layers (SVG sources
# ---- in tools/art/map/ through rsvg-convert).
bash "$ROOT/tools/art/render_map.sh" "$DATA"

# ---- every check of the content pack, and the find-all scenes' measures
cmake --build "$BUILD" -j"$JOBS" --target content_check >/dev/null
"$BUILD/content_check" "$DATA" --gtest_brief=1
