// The memory board: face-down bricks turned up two at a time. Two equal
// faces burst and go, two different ones turn down again; when the last brick
// has gone the field reports OnFieldSolved once.
#pragma once

#include <list>
#include <string>

#include "entities/core/CTimerListener.h"
#include "minigames/BrickType.h"
#include "minigames/CFieldScreen.h"

namespace ZOLTFramework {

class CBrickEntity;

class CBricksField : public CFieldScreen, public CBrickListener, public CTimerListener {
public:
    CBricksField(const std::string& fieldName, CFieldListener* fieldListener);
    ~CBricksField() override;

    void Update(float dt) override;
    // Destroys every brick; OnFieldCleared follows once the last has gone.
    void Clear() override;
    bool IsFinished() override;
    void OnBrickSelected(CEntity* brick) override;
    void OnBrickRemoved(CEntity* brick) override;
    // Timer 10, mark 102 stops every brick's shake.
    void OnTimer(int timerId, int markId) override;

    // Owned from then on; the types are added before the bricks.
    void AddBrickType(const BrickType& type);
    // One brick of a kind whose type was added; an unknown kind gives an Error
    // row and no brick (null).
    CBrickEntity* AddBrick(float x, float y, float depth, char kind);

    const std::list<CBrickEntity*>& GetBricks() const { return bricks; }

private:
    CBrickEntity* first = nullptr;
    CBrickEntity* second = nullptr;
    bool playing = true;
    int clearingCount = -1;
    std::list<BrickType*> brickTypes;
    std::list<CBrickEntity*> bricks;
};

}  // namespace ZOLTFramework
