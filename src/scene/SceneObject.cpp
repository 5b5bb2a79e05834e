#include "scene/SceneObject.h"

#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityServices.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "profiles/SharedTimer.h"
#include "scene/ScriptGlobals.h"

using ZOLTFramework::EngineContext;
namespace Services = ZOLTFramework::Services;

namespace {

const bool g_scriptClassRegistered = SceneObject::RegisterLua();

// Name parts of animated resources that ring a sound once per run.
struct SoundKey {
    const char* part;
    const char* sound;
};
const SoundKey kSoundTable[] = {
    {"koniki_Mayors_office", "Kuku"},    {"TV_set_Brannoks_bedroom", "Telek"},
    {"Globus_Brannoks_office", "Globus"}, {"Krab_s_podnosom_Bar", "Posuda"},
    {"Ventel_Publishing_house", "Ventilyator"}, {"box_", "Igrushka"},
    {"murena_", "Zmeya"},
};

const float kMaskSize = 74.0f;
const float kMaskCentre = 37.0f;

hgeResourceManager* Resources(const EngineContext* engine) {
    return engine ? engine->GetResourceManager() : nullptr;
}

// Alpha of the colour replaced by the opacity (0..1), truncated.
DWORD WithOpacity(DWORD color, float opacity) {
    return Services::FadeColor(color | 0xFF000000u, opacity);
}

}  // namespace

void PlaySoundRepeatedly(const std::string& sound, float interval, ZOLTFramework::GameManager::Timer* timer) {
    Services::PlaySound(EngineContext::Current(), sound);
    if (!timer) return;
    timer->Add(interval, [sound, interval, timer] { PlaySoundRepeatedly(sound, interval, timer); }, nullptr);
}

SceneObject::SceneObject(const std::string& resName, bool isAnimation, float pauseArg, float startDelay,
                         bool restOnLast, const std::string& objectName, SceneObjectsLayer* layer)
    : resourceName(resName), objectsLayer(layer), pauseNow(pauseArg), pause(pauseArg) {
    name = objectName;
    if (isAnimation)
        BuildAnimation(startDelay);
    else
        BuildStill();
    restOnLastFrame = restOnLast;
    if (lensSprite1) lensSprite1->SetColor(0xFFFFFFFF);
    MaskLensSprites();
}

void SceneObject::BuildAnimation(float startDelay) {
    hgeResourceManager* resources = Resources(engine);
    hgeAnimation* source = resources ? resources->GetAnimation(resourceName.c_str()) : nullptr;
    if (!source) {
        HtmlLog::Instance()->Error("Scene object \"" + HtmlLog::Shown(name) + "\": no animation \"" + HtmlLog::Shown(resourceName) +
                                   "\"; the object has no image.");
        return;
    }
    animation1 = new hgeAnimation(*source);
    animation2 = new hgeAnimation(*source);
    animation3 = new hgeAnimation(*source);
    displaySprite = animation1;
    lensSprite1 = animation2;
    lensSprite2 = animation3;
    hgeAnimation* copies[3] = {animation1, animation2, animation3};
    if (pause != 0.0f)
        for (hgeAnimation* copy : copies) copy->SetMode(HGEANIM_FWD | HGEANIM_NOLOOP);
    if (startDelay > 0.0f) {
        pauseNow = startDelay;  // the first run starts through the pause logic
        return;
    }
    for (hgeAnimation* copy : copies) copy->Play();
    const float speed = source->GetSpeed();
    const float run = speed > 0.0f ? float(source->GetFrames()) / speed : 0.0f;
    ArmSounds(run + pause);
}

void SceneObject::ArmSounds(float interval) {
    for (const SoundKey& key : kSoundTable) {
        if (resourceName.find(key.part) == std::string::npos) continue;
        const std::string sound = key.sound;
        ZOLTFramework::GameManager::Timer* own = &timer;
        timer.Add(interval, [sound, interval, own] { PlaySoundRepeatedly(sound, interval, own); }, nullptr);
    }
}

void SceneObject::BuildStill() {
    hgeResourceManager* resources = Resources(engine);
    hgeSprite* source = resources ? resources->GetSprite(resourceName.c_str()) : nullptr;
    if (!source) {
        if (!resourceName.empty() || !name.empty())
            HtmlLog::Instance()->Error("Scene object \"" + HtmlLog::Shown(name) + "\": no sprite \"" + HtmlLog::Shown(resourceName) +
                                       "\"; the object has no image.");
        return;
    }
    displaySprite = source;
    float tx, ty, w, h;
    source->GetTextureRect(&tx, &ty, &w, &h);
    lensSprite1 = new hgeSprite(*source);
    lensSprite2 = new hgeSprite(*source);
    lensSprite1->SetTextureRect(tx, ty, w, h, true);
    lensSprite2->SetTextureRect(tx, ty, w, h, true);
}

void SceneObject::MaskLensSprites() {
    if (!lensSprite1) return;
    hgeResourceManager* resources = Resources(engine);
    const HTEXTURE mask = resources ? resources->GetTexture("MagnifyingGlassMask") : 0;
    if (!mask) HtmlLog::Instance()->Error("Scene object \"" + HtmlLog::Shown(name) + "\": no texture \"MagnifyingGlassMask\".");
    for (hgeSprite* lens : {lensSprite1, lensSprite2}) {
        lens->SetMaskTexture(mask, 0.0f, 0.0f, kMaskSize, kMaskSize);
        lens->SetMaskOrigin(kMaskCentre, kMaskCentre);
    }
}

SceneObject::~SceneObject() {
    SceneScript::Withdraw("PlayField_" + name, this);
    if (auto* keeper = dynamic_cast<SceneObjectKeeper*>(parent)) keeper->ForgetObject(this);
    delete particleSystem;
    delete animation1;
    if (animation2)
        delete animation2;
    else
        delete lensSprite1;
    if (animation3)
        delete animation3;
    else
        delete lensSprite2;
}

void SceneObject::SetParticleSystem(hgeParticleSystem* system) {
    if (system == particleSystem) return;
    delete particleSystem;
    particleSystem = system;
}

hgeParticleSystem* SceneObject::ReleaseParticleSystem() {
    hgeParticleSystem* system = particleSystem;
    particleSystem = nullptr;
    return system;
}

void SceneObject::RemoveLensSprites() {
    if (animation2 || animation3) {
        // The lens copies of an animation are its own animations: they stop
        // being lens sprites and die with the object.
        lensSprite1 = lensSprite2 = nullptr;
        return;
    }
    delete lensSprite1;
    delete lensSprite2;
    lensSprite1 = lensSprite2 = nullptr;
}

void SceneObject::RestartLater(hgeAnimation* animation, bool lastOfRun) {
    if (pauseNow == 0.0f || animation->IsPlaying()) return;
    animation->SetFrame(restOnLastFrame ? animation->GetFrames() - 1 : 0);
    const float delay = pauseNow;
    timer.Add(delay, [animation] { animation->Play(); }, nullptr);
    if (!lastOfRun) return;
    timer.Add(delay, [this] { pauseNow = pause; }, nullptr);
    pauseNow = 0.0f;
}

void SceneObject::Update(float dt) {
    for (hgeAnimation* animation : {animation2, animation3, animation1}) {
        if (!animation) continue;
        animation->Update(dt);
        RestartLater(animation, animation == animation1);
    }
    if (particleSystem) particleSystem->Update(dt);
    if (fadeRate > 0.0f) {
        float value = opacity - dt * fadeRate;
        if (value < 0.0f) value = 0.0f;
        SetOpacity(value);
        if (value <= 0.0f) {
            fadeRate = 0.0f;
            Kill();
        }
    }
    timer.Update(dt);
}

void SceneObject::Render() {
    if (particleSystem) {
        particleSystem->MoveTo(x * kSceneToScreen, y * kSceneToScreen, false);
        particleSystem->Render();
    }
    if (!displaySprite) return;
    displaySprite->SetColor(WithOpacity(displaySprite->GetColor(), GetAbsoluteOpacity()));
    displaySprite->RenderEx(GetAbsoluteX() * kSceneToScreen, GetAbsoluteY() * kSceneToScreen,
                            GetAbsoluteRotation(), scaleX * kSceneToScreen, scaleY * kSceneToScreen);
    if (lensSprite1 && objectsLayer && GetAbsoluteScaleX() > 1.0f && scaleX == 1.0f)
        objectsLayer->Enrol([this](float offsetX, float offsetY, bool secondPass) { DrawAt(offsetX, offsetY, secondPass); });
}

void SceneObject::DrawAt(float mouseOffsetX, float mouseOffsetY, bool secondPass) {
    if (!lensSprite1) return;
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    const float s = GetAbsoluteScale();
    mx += mouseOffsetX;
    my += mouseOffsetY;
    float px = GetAbsoluteX() * s * kSceneToScreen;
    float py = GetAbsoluteY() * s * kSceneToScreen;
    if (s * mx != mx || s * my != my) {
        px -= s * mx - mx;
        py -= s * my - my;
    }
    hgeSprite* lens = secondPass ? lensSprite2 : lensSprite1;
    if (!lens) return;
    lens->SetColor(WithOpacity(lens->GetColor(), GetAbsoluteOpacity()));
    lens->RenderEx(px, py, GetAbsoluteRotation(), GetAbsoluteScaleX() * kSceneToScreen,
                   GetAbsoluteScaleY() * kSceneToScreen);
    if (hge) hge->Gfx_SetClipping(0, 0, 800, 600);
}

void SceneObject::StartFadeOut(float seconds) {
    if (seconds <= 0.0f) {
        Kill();
        return;
    }
    fadeRate = opacity / seconds;
}

void SceneObject::StartAnimation(float delay) {
    if (!animation1) return;
    if (delay == 0.0f) {
        animation1->Play();
        return;
    }
    hgeAnimation* animation = animation1;
    (sharedTimer ? sharedTimer->Get() : &timer)->Add(delay, [animation] { animation->Play(); }, this);
}

void SceneObject::StopAnimation(float delay) {
    if (!animation1) return;
    if (delay == 0.0f) {
        animation1->Stop();
        return;
    }
    hgeAnimation* animation = animation1;
    (sharedTimer ? sharedTimer->Get() : &timer)->Add(delay, [animation] { animation->Stop(); }, this);
}

bool SceneObject::RegisterLua() {
    ScriptState* script = ScriptState::Instance();
    lua_State* state = script->GetState();
    if (!state) return true;
    if (script->HasGlobal("SceneObject")) return true;
    luabind::module(state)[luabind::class_<SceneObject>("SceneObject")
                               .def("StartAnimation", &SceneObject::StartAnimation)
                               .def("StopAnimation", &SceneObject::StopAnimation)];
    return true;
}
