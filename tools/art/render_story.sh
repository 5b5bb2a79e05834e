#!/usr/bin/env bash
# Renders the story pictures (score window hero and medals, comic characters
# and bubble, the final picture and its kisses, the in-game button) from their
# SVG sources in tools/art/story/ into data/Texture/. Needs rsvg-convert
# (Debian: librsvg2-bin). Runs on its own or from tools/make_content.sh.
#
#   bash tools/art/render_story.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SRC="$ROOT/tools/art/story"
TEX="$ROOT/data/Texture"

if ! command -v rsvg-convert >/dev/null; then
  echo "rsvg-convert missing (apt-get install librsvg2-bin): story pictures left as they are"
  exit 0
fi

# render <source name> <target path under data/Texture>
render() {
  mkdir -p "$(dirname "$TEX/$2")"
  rsvg-convert "$SRC/$1.svg" -o "$TEX/$2"
  echo "$TEX/$2"
}

render MedalSharpEye Medals/MedalSharpEye.png
render MedalSteadyHand Medals/MedalSteadyHand.png
render MedalStarOfDrovalin Medals/MedalStarOfDrovalin.png
render InGameButton Buttons/InGameButton.png
render Bubble Comics/Bubble.png
render ComicShade Comics/ComicShade.png
render Kiss1 Final/Kiss1.png
render Kiss2 Final/Kiss2.png
render Brannok Characters/Brannok.png
render HeadHappy Characters/HeadHappy.png
render HeadThinking Characters/HeadThinking.png
render Mara Characters/Mara.png
render Final Final/Final.png
render ComicSeal Comics/ComicSeal.png
