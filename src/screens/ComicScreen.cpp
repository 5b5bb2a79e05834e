#include "screens/ComicScreen.h"

#include <memory>

#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"
#include "scene/LiveGroups.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CEntity;
namespace Services = ZOLTFramework::Services;

namespace {

const float kRestX = 0.0f;
const float kRestY = 400.0f;
const float kBubbleGrowStart = 0.4f;
const float kBubbleGrowEnd = 0.6f;
const float kReplicaGrow = 0.2f;
const float kMedalScale = 0.2f;

// A call on an entity that may have gone meanwhile: it runs only while the
// entity lives.
std::function<void()> On(CEntity* entity, std::function<void(CEntity*)> call) {
    std::weak_ptr<void> alive = entity->GetLifeToken();
    return [entity, alive, call]() {
        if (!alive.expired()) call(entity);
    };
}

// Shows a bubble's line once the bubble has grown to full size: the text
// keeps its offset from the bubble while the bubble grows, so before that it
// would stand outside it.
std::function<void()> ShowWhenGrown(TextEntity* text, float growTime) {
    return On(text, [growTime](CEntity* e) {
        PlayerManager::Instance()->Timer->Add(growTime, [e]() { e->Show(); }, e);
    });
}

float Attribute(const XMLDocument::XMLElement& element, const char* name, float def) {
    return element.HasAttribute(name) ? element.GetFloatAttribute(name, def) : def;
}

}  // namespace

ComicScreen::ComicScreen(const std::string& path, const std::string& medalsFile) : CScreenEntity(path) {
    for (const MedalInfo& medal : MedalList::Load(medalsFile, "Comic page " + path))
        medalPlaces.push_back({medal.id, medal.x, medal.y, medal.z, medal.sprite});

    XMLDocument page("comic");
    if (!page.Load(path) || !page.GetRoot()) {
        HtmlLog::Instance()->Error("Comic page cannot be read: " + HtmlLog::Shown(path));
    } else {
        const auto& root = page.GetRoot();
        if (root->HasAttribute("res_group")) {
            hasResourceGroup = true;
            resourceGroup = root->GetIntAttribute("res_group");
        }
        for (const auto& child : root->GetChildren()) {
            if (!child) continue;
            if (FileNumbers::ListFull(stepsMade, "Comic page " + HtmlLog::Shown(path) + ": the steps")) break;
            const std::string& kind = child->GetName();
            if (kind == "appear")
                LoadAppear(*child);
            else if (kind == "replic")
                LoadReplica(*child);
            else if (kind == "disappear")
                LoadDisappear(*child);
        }
    }

    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    Services::PlaySound(engine, "OnComicsStart");
}

ComicScreen::~ComicScreen() {
    if (!hasResourceGroup) return;
    LiveGroups::Release(engine ? engine->GetResourceManager() : nullptr, resourceGroup, "Comic page " + HtmlLog::Shown(name));
}

void ComicScreen::Warn(const std::string& what) const { HtmlLog::Instance()->Warning("Comic page " + HtmlLog::Shown(name) + ": " + what); }

CAnimationEffector* ComicScreen::MakeEffector(CEntity* target) {
    auto* effector = target->SpawnChild<CAnimationEffector>();  // created paused
    return effector;
}

CEntity* ComicScreen::ParseCharacter(const XMLDocument::XMLElement& element) {
    auto* character = SpawnChild<CEntity>();
    character->SetName(element.GetStringAttribute("character"));

    for (const auto& child : element.GetChildren()) {
        if (!child || child->GetName() != "sprite") continue;
        const std::string pictureName = child->GetStringAttribute("name");
        if (pictureName.empty() || !Services::Texture(engine, pictureName)) {
            Warn("no picture \"" + HtmlLog::Shown(pictureName) + "\"");
            continue;
        }
        auto* picture = character->SpawnChild<SpriteExEntity>();
        picture->SetSprite(pictureName);
        if (hgeSprite* resource = Services::Sprite(engine, pictureName)) {
            float hx = 0.0f, hy = 0.0f;
            resource->GetHotSpot(&hx, &hy);
            picture->GetSprite()->SetHotSpot(hx, hy);
        }
        picture->SetName(pictureName);
        picture->SetDepth(Attribute(*child, "Z", 1.0f));
        if (child->HasAttribute("Scale")) picture->SetScale(child->GetFloatAttribute("Scale"));
    }

    Player* player = PlayerManager::Instance()->GetActivePlayer();
    if (character->GetName() == kHeroName && player) {
        for (const MedalPlace& place : medalPlaces) {
            if (!player->Medals.count(place.id)) continue;
            if (!Services::Texture(engine, place.sprite)) {
                Warn("no medal picture \"" + HtmlLog::Shown(place.sprite) + "\"");
                continue;
            }
            auto* medal = character->SpawnChild<SpriteExEntity>();
            medal->SetSprite(place.sprite);
            medal->SetPosXY(place.x - 200.0f, place.y - 400.0f);
            medal->SetDepth(place.z);
            medal->SetScale(kMedalScale);
        }
    }
    character->Hide();
    return character;
}

void ComicScreen::ParseStep(const XMLDocument::XMLElement& element, float& xFrom, float& xTo, float& yFrom,
                            float& yTo, float& opacityFrom, float& opacityTo) {
    const std::string keyword = element.GetStringAttribute("from");
    if (keyword == "left") {
        xFrom = -300.0f;
        xTo = 180.0f;
        anchorX = 470.0f, anchorY = 150.0f, side = 1.0f;
    } else if (keyword == "right") {
        xFrom = 1100.0f;
        xTo = 600.0f;
        anchorX = 300.0f, anchorY = 150.0f, side = -1.0f;
    } else if (keyword == "top") {
        yFrom = -400.0f;
        yTo = 0.0f;
    } else if (keyword == "bottom") {
        yFrom = 1000.0f;
        yTo = 0.0f;
    } else if (keyword == "opacity") {
        const float restX = element.GetFloatAttribute("X");
        const float restY = element.GetFloatAttribute("Y");
        xFrom = xTo = restX;
        yFrom = yTo = restY;
        opacityFrom = 0.0f;
        opacityTo = 1.0f;
        if (restX == 180.0f) {
            anchorX = 470.0f, anchorY = 150.0f, side = 1.0f;
        } else if (restX == 600.0f) {
            anchorX = 300.0f, anchorY = 150.0f, side = -1.0f;
        }
    }
}

void ComicScreen::ParsePosition(const std::string& keyword, float& dx, float& dy, float& dOpacity) {
    dx = dy = dOpacity = 0.0f;
    if (keyword == "left")
        dx = -600.0f;
    else if (keyword == "right")
        dx = 600.0f;
    else if (keyword == "top")
        dy = -400.0f;
    else if (keyword == "bottom")
        dy = 400.0f;
    else if (keyword == "opacity")
        dOpacity = -1.0f;
}

TextEntity* ComicScreen::CreateBubbleText(const std::string& key, CEntity* bubble) {
    auto* text = bubble->SpawnChild<TextEntity>("", nullptr);
    bool found = false;
    const std::string line = Services::Text(engine, key, &found);
    if (!found) Warn("no text for \"" + HtmlLog::Shown(key) + "\"");
    text->SetText(found ? line : std::string());
    text->SetFont(FontRegistry::GetFont("Comics"));
    text->SetSpacing(0.7f);
    text->SetAlignment(0);
    text->SetBox(210.0f, 100.0f);
    text->SetDepth(10.0f);
    return text;
}

SpriteExEntity* ComicScreen::CreateBubble(const std::string& key, TextEntity** line) {
    auto* bubble = SpawnChild<SpriteExEntity>();
    if (!Services::Texture(engine, "Bubble")) Warn("no picture \"Bubble\"");
    bubble->SetSprite("Bubble");
    bubble->SetDepth(5.0f);
    bubble->SetPosXY(anchorX, anchorY);
    TextEntity* text = CreateBubbleText(key, bubble);
    if (side < 0.0f) {
        bubble->GetSprite()->SetFlip(true, false, true);
        text->SetPosXY(-150.0f, -45.0f);
    } else {
        text->SetPosXY(-60.0f, -45.0f);
    }
    bubble->SetScale(0.0f);
    bubble->Hide();
    text->Hide();
    if (line) *line = text;
    return bubble;
}

void ComicScreen::LoadAppear(const XMLDocument::XMLElement& element) {
    CEntity* character = ParseCharacter(element);
    float xFrom = kRestX, xTo = kRestX, yFrom = kRestY, yTo = kRestY, opacityFrom = 1.0f, opacityTo = 1.0f;
    SpriteExEntity* bubble = nullptr;
    TextEntity* line = nullptr;
    bool noDelay = false;
    std::string sound;
    for (const auto& attribute : element.GetAttributes()) {
        if (!attribute) continue;
        const std::string& attributeName = attribute->GetName();
        if (attributeName == "from") {
            ParseStep(element, xFrom, xTo, yFrom, yTo, opacityFrom, opacityTo);
        } else if (attributeName == "string") {
            // The bubble takes the side in force now: a later "from" does not
            // mirror it.
            if (bubble) bubble->Kill();
            bubble = CreateBubble(attribute->GetValue(), &line);
        } else if (attributeName == "no_delay") {
            noDelay = attribute->GetBool();
        } else if (attributeName == "sound") {
            sound = attribute->GetValue();
        }
    }

    CAnimationEffector* entrance = MakeEffector(character);
    entrance->AddKey(CAnimationEffector::TRACK_X, 0.0f, xFrom);
    entrance->AddKey(CAnimationEffector::TRACK_X, kMoveTime, xTo);
    entrance->AddKey(CAnimationEffector::TRACK_Y, 0.0f, yFrom);
    entrance->AddKey(CAnimationEffector::TRACK_Y, kMoveTime, yTo);
    entrance->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, opacityFrom);
    entrance->AddKey(CAnimationEffector::TRACK_OPACITY, kMoveTime, opacityTo);
    characters.insert({character->GetName(), character});

    Step appear;
    if (!noDelay) appear.calls.push_back([this]() { SetWaiting(true); });
    appear.calls.push_back(On(character, [](CEntity* e) { e->Show(); }));
    appear.calls.push_back(On(entrance, [](CEntity* e) { static_cast<CAnimationEffector*>(e)->Prepare(); }));
    std::vector<std::string> sounds;
    if (opacityFrom != opacityTo) sounds.push_back("OnCharAppear");
    if (xFrom != xTo || yFrom != yTo) sounds.push_back("OnCharCame");
    if (!sound.empty()) sounds.push_back(sound);
    if (!sounds.empty())
        appear.calls.push_back([this, sounds]() {
            for (const std::string& s : sounds) Services::PlaySound(engine, s);
        });
    appear.delay = noDelay ? 0.0f : (bubble ? kBubbleGrowEnd : kMoveTime);

    if (!bubble) {
        Queue(std::move(appear));
    } else {
        CAnimationEffector* grow = MakeEffector(bubble);
        grow->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.0f);
        grow->AddKey(CAnimationEffector::TRACK_SCALE, kBubbleGrowStart, 0.0f);
        grow->AddKey(CAnimationEffector::TRACK_SCALE, kBubbleGrowEnd, 1.0f);
        appear.calls.push_back(On(bubble, [](CEntity* e) { e->Show(); }));
        appear.calls.push_back(On(grow, [](CEntity* e) { static_cast<CAnimationEffector*>(e)->Prepare(); }));
        appear.calls.push_back(ShowWhenGrown(line, kBubbleGrowEnd));
        Queue(std::move(appear));
        Step removeBubble;
        removeBubble.calls.push_back(On(grow, [](CEntity* e) { e->Kill(); }));
        removeBubble.calls.push_back(On(bubble, [](CEntity* e) { e->Kill(); }));
        Queue(std::move(removeBubble));
    }
    if (steps.size() == 2) NextStep();
}

void ComicScreen::LoadReplica(const XMLDocument::XMLElement& element) {
    if (!element.HasAttribute("string")) return;
    TextEntity* text = nullptr;
    SpriteExEntity* bubble = CreateBubble(element.GetStringAttribute("string"), &text);
    CAnimationEffector* grow = MakeEffector(bubble);
    grow->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.0f);
    grow->AddKey(CAnimationEffector::TRACK_SCALE, kReplicaGrow, 1.0f);

    Step line;
    line.calls.push_back(On(bubble, [](CEntity* e) { e->Show(); }));
    line.calls.push_back([this]() { SetWaiting(true); });
    line.calls.push_back(On(grow, [](CEntity* e) { static_cast<CAnimationEffector*>(e)->Prepare(); }));
    line.calls.push_back(ShowWhenGrown(text, kReplicaGrow));
    line.delay = kReplicaGrow;
    Queue(std::move(line));
    Step removeBubble;
    removeBubble.calls.push_back(On(bubble, [](CEntity* e) { e->Kill(); }));
    Queue(std::move(removeBubble));
}

void ComicScreen::LoadDisappear(const XMLDocument::XMLElement& element) {
    CEntity* character = nullptr;
    float dx = 0.0f, dy = 0.0f, dOpacity = 0.0f;
    bool noDelay = false;
    for (const auto& attribute : element.GetAttributes()) {
        if (!attribute) continue;
        const std::string& attributeName = attribute->GetName();
        if (attributeName == "character") {
            auto it = characters.find(attribute->GetValue());
            if (it != characters.end()) {
                character = it->second;
                characters.erase(it);
            } else {
                character = nullptr;
            }
        } else if (attributeName == "to") {
            ParsePosition(attribute->GetValue(), dx, dy, dOpacity);
        } else if (attributeName == "no_delay") {
            noDelay = attribute->GetBool();
        }
    }
    // Only a character on the page can leave it: an unknown name makes
    // nothing, not even the exit's effector.
    if (!character) {
        Warn("\"disappear\" of a character not on the page: \"" + HtmlLog::Shown(element.GetStringAttribute("character")) + "\"");
        return;
    }
    // Inert (paused, no keys) until the exit starts; it dies with the character.
    CAnimationEffector* exit = MakeEffector(character);

    Step leave;
    std::weak_ptr<void> alive = character->GetLifeToken();
    leave.calls.push_back([this, character, alive, exit, dx, dy, dOpacity]() {
        if (!alive.expired()) AnimateLeave(character, exit, dx, dy, dOpacity);
    });
    leave.calls.push_back([this]() { SetWaiting(false); });
    leave.delay = noDelay ? 0.0f : kMoveTime;
    Queue(std::move(leave));
    Step gone;
    gone.calls.push_back(On(character, [](CEntity* e) { e->Kill(); }));
    Queue(std::move(gone));
}

void ComicScreen::AnimateLeave(CEntity* character, CAnimationEffector* effector, float dx, float dy,
                               float dOpacity) {
    if (!character || !effector) return;
    if (effector->GetParent() != character) effector->AttachTo(character);
    const float cx = character->GetX(), cy = character->GetY(), co = character->GetOpacity();
    effector->AddKey(CAnimationEffector::TRACK_X, 0.0f, cx);
    effector->AddKey(CAnimationEffector::TRACK_X, kMoveTime, cx + dx);
    effector->AddKey(CAnimationEffector::TRACK_Y, 0.0f, cy);
    effector->AddKey(CAnimationEffector::TRACK_Y, kMoveTime, cy + dy);
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, co);
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, kMoveTime, co + dOpacity);
    effector->Prepare();
}

void ComicScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    // Only a press made on the page counts (seen here, from the page's first
    // update on): one that went down before does not read its lines away.
    HGE* hge = Services::Hge(engine);
    const bool held = hge && hge->Input_GetKeyState(HGEK_LBUTTON);
    if (hge && hge->Input_KeyDown(HGEK_LBUTTON)) {
        clickRunning = true;
        pressHeld = true;
    }
    if (!held) pressHeld = false;
    if (delay > 0.0f) {
        delay -= dt;
        if (delay < 0.0f) delay = 0.0f;
    }
    bool ran = false;
    if (delay <= 0.0f && (!waiting || clickRunning || pressHeld)) {
        NextStep();
        ran = true;
    }
    // A click runs the steps without a pause up to the next line (a step with
    // a delay), however short it was: the line shown goes, the next comes,
    // and no more. Held on, the button goes on with the steps as they fall due.
    if (!ran || delay > 0.0f) clickRunning = false;
}

void ComicScreen::Queue(Step&& step) {
    steps.push_back(std::move(step));
    ++stepsMade;
}

void ComicScreen::NextStep() {
    if (steps.empty()) {
        Kill();
        if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
        return;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    delay = step.delay;
    for (const auto& call : step.calls) call();
}
