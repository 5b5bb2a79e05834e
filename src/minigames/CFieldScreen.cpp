#include "minigames/CFieldScreen.h"

namespace ZOLTFramework {

CFieldScreen::CFieldScreen(const std::string& fieldName, CFieldListener* fieldListener) : listener(fieldListener) {
    name = fieldName;
}

void CFieldScreen::Clear() {
    if (listener) listener->OnFieldCleared();
}

bool CFieldScreen::IsFinished() { return false; }

}  // namespace ZOLTFramework
