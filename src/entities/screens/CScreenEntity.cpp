#include "entities/screens/CScreenEntity.h"

#include "entities/core/EntityServices.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/widgets/CGUIEntity.h"

namespace ZOLTFramework {

namespace {
const float kOpenSoundOpacity = 200.0f / 255.0f;
}

CScreenEntity::CScreenEntity(const std::string& screenName) { name = screenName; }

CScreenEntity::~CScreenEntity() = default;

void CScreenEntity::Open() {
    openSoundPlayed = false;
    opening = true;
    closing = false;
    hidden = false;
    UpdateRegistration();
}

void CScreenEntity::LostFocus() {
    hasFocus = false;
    CGUIEntity::DropHoverBelow(this);
}

void CScreenEntity::Close() {
    closing = true;
    opening = false;
}

void CScreenEntity::CloseAndDestroy() {
    destroyOnClose = true;
    Close();
}

void CScreenEntity::FinishClose() {
    closing = false;
    hidden = true;
    UpdateRegistration();
    if (destroyOnClose) {
        HtmlLog::Instance()->Info(HtmlLog::Shown(name) + "Screen entity destroy");
        Kill();
    }
}

void CScreenEntity::Update(float dt) {
    float a = GetAbsoluteOpacity();

    if (opening && a < 1.0f) {
        a += 2.0f * dt;
        SetOpacity(a);
        if (a > kOpenSoundOpacity && !openSoundPlayed && playOpenSound) {
            openSoundPlayed = true;
            Services::PlaySound(engine, "OnWindow");
        }
        if (a >= 1.0f) {
            opening = false;
            OnOpened();
        }
    }

    if (closing) {
        if (a > 0.0f) {
            a -= 2.0f * dt;
            SetOpacity(a);
            if (a <= 0.0f) FinishClose();
        } else {
            // Closed while already invisible: the fade-out has nothing left to
            // do, so it ends now rather than never.
            FinishClose();
        }
    }

    if (!shortcuts.empty() && engine && engine->GetHGE()) {
        HGE* hge = engine->GetHGE();
        // A handler may change the shortcuts: walk a copy.
        const std::map<int, std::string> keys = shortcuts;
        for (const auto& entry : keys) {
            if (hge->Input_KeyDown(entry.first) && HasFocus()) OnButtonPress(entry.second);
        }
    }
}

}  // namespace ZOLTFramework
