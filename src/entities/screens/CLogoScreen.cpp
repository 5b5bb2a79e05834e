#include "entities/screens/CLogoScreen.h"

namespace ZOLTFramework {

const char* LogoScreenNextName(int index) {
    static const char* const kNames[] = {"PellicoLogo", "OrvelLogo", ""};
    return (index >= 0 && index < 3) ? kNames[index] : "";
}

}  // namespace ZOLTFramework
