#include "minigames/CBricksField.h"

#include <algorithm>

#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "minigames/CBrickEntity.h"

namespace ZOLTFramework {

CBricksField::CBricksField(const std::string& fieldName, CFieldListener* fieldListener)
    : CFieldScreen(fieldName, fieldListener) {}

CBricksField::~CBricksField() {
    for (BrickType* type : brickTypes) delete type;
}

void CBricksField::AddBrickType(const BrickType& type) { brickTypes.push_back(new BrickType(type)); }

CBrickEntity* CBricksField::AddBrick(float bx, float by, float brickDepth, char kind) {
    auto it = std::find_if(brickTypes.begin(), brickTypes.end(), [kind](const BrickType* t) { return t->kind == kind; });
    if (it == brickTypes.end()) {
        HtmlLog::Instance()->Error(HtmlLog::Shown(name) + ": no brick type of the kind '" + HtmlLog::Shown(std::string(1, kind)) + "'; the brick is left out");
        return nullptr;
    }
    auto* brick = SpawnChild<CBrickEntity>(static_cast<CBrickListener*>(this), int(kind), (*it)->faceSprite);
    brick->SetPosXY(bx, by);
    brick->SetDepth(brickDepth);
    bricks.push_back(brick);
    return brick;
}

bool CBricksField::IsFinished() { return bricks.empty(); }

void CBricksField::Update(float) {
    if (playing) {
        if (first && second && first->IsSettled() && second->IsSettled()) {
            if (first->GetKind() == second->GetKind()) {
                first->PlayDestroy();
                second->PlayDestroy();
            } else {
                first->Close();
                second->Close();
            }
            first = second = nullptr;
        }
        if (IsFinished()) {
            playing = false;
            if (listener) listener->OnFieldSolved();
        }
    } else if (clearingCount == 0) {
        clearingCount = -1;  // reported once
        if (listener) listener->OnFieldCleared();
    }
}

void CBricksField::OnBrickSelected(CEntity* entity) {
    auto* brick = static_cast<CBrickEntity*>(entity);
    if (!first) {
        first = brick;
        brick->PlayOpen();
        return;
    }
    if (!second) {
        second = brick;
        brick->PlayOpen();
    }
    CBrickEntity::StopAllShaking();
}

void CBricksField::OnBrickRemoved(CEntity* entity) {
    auto* brick = static_cast<CBrickEntity*>(entity);
    bricks.remove(brick);
    if (first == brick) first = nullptr;
    if (second == brick) second = nullptr;
    if (clearingCount >= 0) --clearingCount;
}

void CBricksField::Clear() {
    clearingCount = 0;
    for (CBrickEntity* brick : bricks) {
        brick->PlayDestroy();
        ++clearingCount;
    }
    playing = false;
}

void CBricksField::OnTimer(int timerId, int markId) {
    if (timerId == 10 && markId == 102) CBrickEntity::StopAllShaking();
}

}  // namespace ZOLTFramework
