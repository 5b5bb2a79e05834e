// The row of screens the game starts with: three logo screens, then the load
// screen. The application creates the first one with the name "CustomLogo".
#pragma once

#include "entities/screens/CLoadScreen.h"
#include "entities/screens/CLogoScreen.h"

namespace ZOLTFramework {

using COrvelLogoScreen = CLogoScreen<CLoadScreen, 2>;
using CPellicoLogoScreen = CLogoScreen<COrvelLogoScreen, 1>;
using CFirstLogoScreen = CLogoScreen<CPellicoLogoScreen, 0>;

}  // namespace ZOLTFramework
