// The logo screens shown at start: a picture centred on a white background that
// fades in, stays for at most three seconds and gives way to the next screen at
// once on any key. Next is the type of the screen that follows, Index the
// screen's place in the row (0, 1, 2); the last one hands over to the load
// screen. The picture is the resource sprite named like the screen; without it
// (or without a resource manager) only the white fill is drawn.
#pragma once

#include <string>

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

// Names of the screens that follow the logo at each place in the row (the load
// screen that follows the last one has none).
const char* LogoScreenNextName(int index);

// Seconds a logo stays when no key is pressed.
constexpr float kLogoScreenTime = 3.0f;

template <class Next, int Index>
class CLogoScreen : public CScreenEntity {
public:
    explicit CLogoScreen(const std::string& screenName) : CScreenEntity(screenName) {
        // Closing the window during the logos quits without a question.
        g_bConfirmExit = false;
        background = new hgeSprite(0, 0.0f, 0.0f, 1.0f, 1.0f);
        time = 0.0f;
        SetOpacity(0.2f);
        Open();
    }
    ~CLogoScreen() override { delete background; }

    void Update(float dt) override {
        CScreenEntity::Update(dt);
        if (destroyOnClose) return;
        time += dt;
        HGE* hge = Services::Hge(engine);
        const bool key = hge && hge->Input_GetKey() != 0;
        if (!key && !(time > kLogoScreenTime)) return;
        if (closing || destroyOnClose) return;
        if (EntityManager* manager = Manager()) manager->Spawn<Next>(LogoScreenNextName(Index));
        CloseAndDestroy();
    }

    void Render() override {
        const DWORD color = Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity());
        background->SetColor(color);
        background->RenderStretch(0.0f, 0.0f, 800.0f, 600.0f);
        if (hgeSprite* logo = Services::Sprite(engine, name)) {
            logo->SetColor(color);
            logo->Render(400.0f, 300.0f);
        }
    }


private:
    hgeSprite* background = nullptr;
    float time = 0.0f;
};

}  // namespace ZOLTFramework
