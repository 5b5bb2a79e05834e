// The game's fonts: each file loaded into the font registry under its names,
// with the colour, tracking and spacing the game's texts are drawn with (the
// files' own letter advances are too wide for the game's lines).
#pragma once

namespace ZOLTFramework {

void LoadGameFonts();

}  // namespace ZOLTFramework
