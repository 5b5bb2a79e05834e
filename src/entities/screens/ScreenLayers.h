// Layers and depths of screens that more than one place opens, named once.
#pragma once

namespace ZOLTFramework {
namespace ScreenLayers {

// The quit question (from the window's close button and from the options
// screen's exit button): above every other screen.
constexpr float kExitQuestion = 102400.0f;

}  // namespace ScreenLayers
}  // namespace ZOLTFramework
