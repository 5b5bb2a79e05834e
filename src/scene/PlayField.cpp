#include "scene/PlayField.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/CTitleEntity.h"
#include "graphics/hgeSprite.h"
#include "profiles/LevelProgress.h"
#include "profiles/Player.h"
#include "scene/ActionTable.h"
#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/LiveGroups.h"
#include "scene/PSLayer.h"
#include "scene/PanelEdge.h"
#include "scene/PlayFieldStateWriter.h"
#include "scene/SceneObjectsLayer.h"
#include "scene/ScriptGlobals.h"
#include "scene/ShowScorePopup.h"

namespace Services = ZOLTFramework::Services;

namespace {

const bool g_scriptClassRegistered = PlayField::RegisterLua();

const char* const kMirroredCursorFile = "data/Texture/Cursors/MagnifyingGlassCursorDiff.png";
const char* const kKeptScene = "data/Scenes/Brannoks_bedroom.xml";
const char* const kActionTableFile = "data/Database/Actions.xml";

const char* const kTitleName = "SceneTitle";

// The delayed calls of a field go on the shared timer, or on its own without one.
SharedTimer& Timer(const SceneContext& context, SharedTimer& own) { return context.timer ? *context.timer : own; }

// The screen x right of which the scene shows: the panel's right edge as it
// stands in its slide (never left of the screen).
float SceneLeft(const SceneContext& context, const ZOLTFramework::CEntity& field, float panelWidth) {
    const float edge = context.panel ? context.panel->PanelRight() : field.GetAbsoluteX() + panelWidth;
    return std::max(0.0f, edge);
}

// The scene's title over the picture; the seconds it shows, or none when the
// scene has none to show (no key, a key the text table lacks, no manager).
std::optional<float> ShowTitle(ZOLTFramework::CEntity& field, const std::string& titleKey) {
    EntityManager* manager = field.Manager();
    if (titleKey.empty() || !manager) return std::nullopt;
    bool found = false;
    const std::string title = Services::Text(field.GetEngine(), titleKey, &found);
    if (!found) {
        HtmlLog::Instance()->Warning("Play field: the scene title \"" + HtmlLog::Shown(titleKey) +
                                     "\" is not in the text table; the panel opens at once.");
        return std::nullopt;
    }
    auto* entity = manager->Spawn<ZOLTFramework::CTitleEntity>();
    entity->SetName(kTitleName);
    entity->AttachTo(&field);
    entity->SetPosXY(400.0f, 300.0f);
    entity->SetLayer(70.0f);
    HGE* hge = Services::Hge(field.GetEngine());
    return entity->SetText(title, "Default", hge ? hge->Random_Int(0, 2) : 0);
}

// The scene's title goes (the scene is won): drawn over the level's windows,
// a title still running would stand frozen over the score window.
void DropTitle(ZOLTFramework::CEntity& field) {
    if (ZOLTFramework::CEntity* title = field.FindChild(kTitleName)) title->Kill();
}

void LogDelayedCount(size_t count) { HtmlLog::Instance()->Info("Number of delayed tasks: " + std::to_string(count)); }

void LogDelayed(const DelayedTaskRecord& record) {
    HtmlLog::Instance()->Info(HtmlLog::Shown(record.name));
    std::ostringstream reference;
    reference << "object " << static_cast<const void*>(record.sceneObject);
    if (record.sceneObject) reference << " \"" << record.sceneObject->GetName() << "\"";
    HtmlLog::Instance()->Info(reference.str());
}

}  // namespace

// ---- the field and its parts

PlayField::PlayField(const std::string& path, ZOLTFramework::CQuestionListener* eventListener,
                     const SceneContext& sceneContext)
    : context(sceneContext), events(eventListener), scenePath(path),
      sceneKind(SceneKind::Of(XMLDocument::XMLElement("scene"), path)) {
    RegisterLua();
    SceneScript::Publish("play_field", this);
    name = path;
    EntityManager* manager = Manager();
    if (!manager) HtmlLog::Instance()->Error("Play field: no entity manager; the scene \"" + HtmlLog::Shown(path) + "\" is not loaded.");

    // Entities of the manager attached to the field; without a manager, parts
    // the field owns.
    objectsLayer = SpawnChild<SceneObjectsLayer>();
    objectsLayer->SetName("ObjectsLayer");
    objectsLayer->SetDepth(1001.0f);
    if (HGE* hge = manager ? Services::Hge(engine) : nullptr) {
        if (HTEXTURE texture = hge->Texture_Load(kMirroredCursorFile, 0, false)) {
            auto* mirrored = new hgeSprite(texture, 0.0f, 0.0f, 32.0f, 32.0f);
            mirrored->SetHotSpot(12.0f, 10.0f);
            objectsLayer->SetMirroredCursorSprite(mirrored, texture);
        } else {
            HtmlLog::Instance()->Error(std::string("Play field: cannot load \"") + kMirroredCursorFile +
                                       "\"; no mirrored cursor.");
        }
    }
    auto* particleLayer = SpawnChild<PSLayer>();
    particleLayer->SetName(kParticleLayerName);
    particleLayer->SetDepth(500.0f);
    // The step that plays the decoration out while the field is paused joins
    // the manager ahead of the field, so that it runs first in every frame.
    PausedFieldStep* pausedStep = manager ? manager->Spawn<PausedFieldStep>() : nullptr;
    if (manager) {
        if (hgeSprite* panel = Services::Sprite(engine, "InGamePanel"))
            panelWidth = panel->GetWidth();
        else
            HtmlLog::Instance()->Error("Play field: no sprite \"InGamePanel\"; the field takes the whole width.");
        OnMove();
        manager->Add(this);
    }

    bag = SpawnChild<Inventory>(0);
    bag->SetDepth(100.0f);
    std::weak_ptr<void> self = GetLifeToken();
    bag->pickUpCallback = [this, self](const std::string& sprite, const std::string& item) {
        if (!self.expired()) SetCursor(CURSOR_HELD_ITEM, sprite, item);
    };
    bag->pressCallback = [this, self] {
        if (!self.expired()) SetCursor(CURSOR_PLAIN, "", "");
    };
    flights.emplace(*this, *particleLayer, pausedStep, rules, objects, *bag, events, [this] { CheckWin(); });
    if (!manager) {
        MakeParts();
        return;
    }

    HtmlLog::Instance()->Info("Play field loading - " + HtmlLog::Shown(path));
    LoadScene(path);
    // Pages and mini-games on the same group leave its pictures alone while
    // the field lives.
    if (heading.resourceGroup >= LiveGroups::kFirstSceneGroup) LiveGroups::Hold(heading.resourceGroup, this);
    HtmlLog::Instance()->Info("Play field loaded - " + HtmlLog::Shown(path));

    if (sceneKind->IsSplit()) objectsLayer->SetMirroredCursor(true);
}

PlayField::~PlayField() {
    SceneScript::Withdraw("play_field", this);
    // A group still held by another live field stays; shared groups (below
    // the scene groups) were reported when the scene loaded.
    if (heading.resourceGroup < LiveGroups::kFirstSceneGroup) return;
    if (scenePath == kKeptScene && keepResources == 1) return;
    LiveGroups::Release(engine ? engine->GetResourceManager() : nullptr, heading.resourceGroup,
                        "Play field " + HtmlLog::Shown(scenePath), this);
}

void PlayField::MakeParts() {
    // An item put down goes back into the bag the way a tool goes there.
    pointer.emplace(*this, *objectsLayer, *sceneKind, objects, rules, [this](SceneObject* item) {
        bag->AddReturning();
        SendObjectToInventory(item, "", "");
    });
    clicks.emplace(
        *sceneKind, objects, rules, *pointer, events, [this](SceneObject* object) { OnObjectClick(object); },
        [this](float x, float y) { StartObjectMissEffect(x, y); });
    // The click on an object takes the field's own steps for its flights,
    // arrivals, scores and the win check.
    std::weak_ptr<void> self = GetLifeToken();
    PlayFieldObjectClick::FieldSteps steps;
    steps.click = [this](SceneObject* object) { OnObjectClick(object); };
    steps.sendToInventory = [this](SceneObject* object, const std::string& tool, const std::string& task) {
        SendObjectToInventory(object, tool, task);
    };
    steps.queueFlight = [this](SceneObject* object, float tx, float ty, std::function<void(SceneObject*)> arrival) {
        QueueObjectFlight(object, tx, ty, std::move(arrival), false);
    };
    steps.arriveAtPanel = [this, self](SceneObject* object, const std::string& task, bool glass) {
        if (!self.expired()) AddMagnifyingGlass(object, task, glass);
    };
    steps.arriveAtCigars = [this, self](int count, SceneObject* object, const std::string& task) {
        if (!self.expired()) AddCigars(count, object, task);
    };
    steps.score = [this](float score, float px, float py, const std::string& caption, int kind) {
        ResetAndForward(score, px, py, caption, kind);
    };
    steps.queueWinCheck = [this] { QueueWinCheck(); };
    objectClick.emplace(*this, *objectsLayer, rules, objects, *pointer, *flights, *bag, events, context.clues,
                        panelWidth, speedTimer, std::move(steps));
}

void PlayField::LoadScene(const std::string& path) {
    speedTimer = 10.0f;
    scenePath = path;
    ActionTable actions;
    actions.Load(kActionTableFile);

    if (!sceneDocument.Load(path)) {
        HtmlLog::Instance()->Error("Play field: the scene file \"" + HtmlLog::Shown(path) + "\" cannot be read (" +
                                   HtmlLog::Shown(sceneDocument.GetLastError()) + "); the field stays empty.");
        MakeParts();
        ShowPanel();
        return;
    }
    const XMLDocument::XMLElement& root = *sceneDocument.GetRoot();
    const PlayFieldLoader loader(root, path);
    // Resumed only from the state its own play saved: a scene the place goes
    // on with after its won scenes is named too, yet starts afresh (its
    // opening game included), from the score window as by Continue.
    const Player* player = context.player;
    heading = loader.ReadHeading(player && player->NamesSavedState() ? player->PlayFieldPath : std::string());
    sceneKind = loader.ReadKind();
    MakeParts();
    if (heading.dark) pointer->AddFlashlight([this] { return SceneLeft(context, *this, panelWidth); });
    loader.BuildObjects(*this, *objectsLayer, Timer(context, ownTimer), objects,
                        [this] { pointer->BuildMeasuringTool(); });
    loader.ReadRules(actions, rules);
    loader.PutOff(objects, [this](SceneObject* object) { StartSolveLaterEffect(object); });
    loader.FillBag(*bag);
    rules.FinishLoading();

    pointer->ShowCursors(false);
    // The panel opens after the scene's title, or at once without one.
    const std::optional<float> titleTime = ShowTitle(*this, root.GetStringAttribute("SceneName"));
    if (titleTime) {
        Timer(context, ownTimer)->Add(*titleTime + 0.1f, [this] { ShowPanel(); }, this);
        std::ostringstream text;
        text << *titleTime;
        events.Send(LevelEvents::kHidePanel, text.str());
    } else {
        ShowPanel();
    }
    if (sceneKind->IsSplit()) AddDividingLine();
}

void PlayField::AddDividingLine() {
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* line = manager->Spawn<SceneObject>("InGameDividingLine", false, 0.0f, 0.0f, false, "", objectsLayer);
    line->SetPosXY(0.0f, 367.0f);
    line->SetDepth(100.0f);
    line->SetOpacity(1.0f);
    line->AttachTo(this);
    objects.Add(line);
}

void PlayField::ForgetObject(SceneObject* object) {
    objects.Forget(object);
    rules.ForgetObject(object);
    flights->Forget(object);
    pointer->Forget(object);
}

// ---- frame, focus and mouse

void PlayField::OnMove() {
    CEntity::OnMove();
    SetRect(GetAbsoluteX() + panelWidth, GetAbsoluteY(), 800.0f, 600.0f);
}

void PlayField::GotFocus() {
    HtmlLog::Instance()->Info("Play field gained focus");
    // The crime place's mini-game opens once, with the first focus.
    if (std::exchange(heading.opensMiniGame, false)) events.Send(LevelEvents::kMiniGame, "data/MiniGames/15.2.xml");
}

void PlayField::LostFocus() { OnMouseOver(false); }

void PlayField::PauseInventory() { bag->Pause(); }

void PlayField::Render() {
    if (!objectsLayer->GetEnrolled().empty()) objectsLayer->ClearEnrolled();
}

void PlayField::Update(float dt) {
    CGUIEntity::Update(dt);
    // A click of this frame may have paused the field (a mini-game).
    if (!IsPausedInChain()) {
        if (speedTimer >= 0.0f) speedTimer += dt;
        clicks->Step(dt);
        HGE* hge = Services::Hge(engine);
        float mx = 0.0f, my = 0.0f;
        if (hge) hge->Input_GetMousePos(&mx, &my);
        pointer->Step(dt, mx, my);
        flights->Start(dt);
        objectClick->ReplayDelayed();
        flights->PlayOut(dt);
        pointer->Follow(mx, my);
    }
    // The entity manager updates the bag itself; the field only wakes it and
    // keeps a tab on it.
    if (bag->IsPausedInChain()) bag->Resume();
    bag->CheckShifters();
}

void PlayField::OnLeftButton(bool down) {
    if (!panelShown) return;
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    if (!down) return;
    if (pointer->PressMeasuringTool(mx, my)) {
        rules.ClearCounters();
        DropTitle(*this);
        events.Send(LevelEvents::kWin, "");
    }
    clicks->Press(mx, my);
    if (pointer->Cursor().kind == CURSOR_HELD_ITEM) OnRightButton(down);
}

void PlayField::OnRightButton(bool down) {
    if (!down) return;
    if (pointer->Cursor().kind != CURSOR_PLAIN) {
        SetCursor(CURSOR_PLAIN, "", "");
        return;
    }
    if (rules.GlassMissing()) return;
    SetCursor(CURSOR_MAGNIFYING_GLASS, "", "");
    pointer->KeepCursor();
}

void PlayField::OnMouseOver(bool entered) {
    if (!entered && panelShown) {
        pointer->Leave();
        return;
    }
    if (FindMagnifyingGlassObject()) return;
    pointer->Enter();
}

void PlayField::SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName) {
    pointer->SetCursor(kind, spriteName, itemName);
}

void PlayField::ShowPanel() {
    events.Send(LevelEvents::kShowPanel, "");
    panelShown = true;
    // Sending may reach the listener, which may change the list: each record
    // is taken out first, then the list is walked again from the start.
    ConditionRecord fired;
    while (rules.TakeOpeningCondition(fired)) {
        for (const ActionRecord& action : fired.actions) {
            events.Send(action.event, action.value);
            if (action.event != "LockingTask") continue;
            // "task^angle": radians, or degrees with a trailing "d"; no "^": no angle.
            const size_t caret = action.value.find('^');
            const float angle = caret == std::string::npos ? 0.0f : StringToFloat(action.value.substr(caret + 1));
            ShowExtraCigarTutorial(action.value.substr(0, caret));
            if (SceneObject* locked = pointer->LockedObject()) ShowObjectPointer(locked, angle);
        }
    }
    pointer->ShowCursors(true);
}

void PlayField::StartSolveLaterEffect(SceneObject* object) {
    EntityManager* manager = Manager();
    if (!object || !manager) return;
    objects.MarkPutOff(object);
    auto* effect = manager->Spawn<ParticleSystemEntity>();
    effect->SetName("SolveLaterMark");
    effect->Load("data/ParticleSystem/SolveLaterObject.psi", Services::Sprite(engine, "SolveLaterObjectParticle"));
    effect->AttachTo(object);
    // Particle entities draw at their absolute position times their absolute
    // scale: place the effect so that it shows on the object's screen point.
    const float scale = effect->GetAbsoluteScale();
    const float px = object->GetAbsoluteX() * SceneObject::kSceneToScreen;
    const float py = object->GetAbsoluteY() * SceneObject::kSceneToScreen;
    if (scale != 0.0f) effect->SetAbsolutePosition(px / scale, py / scale);
    effect->SetDepth(50.01f);
}

// ---- the click on one object

void PlayField::OnObjectClick(SceneObject* object) { objectClick->Play(object); }

void PlayField::StartObjectMissEffect(float px, float py) {
    if (!Manager()) return;
    const float sx = GetAbsoluteScaleX(), sy = GetAbsoluteScaleY();
    auto burst = [&](float x, float y) {
        flights->Burst("data/ParticleSystem/ObjectMiss.psi", "ObjectMissParticle", sx != 0.0f ? x / sx : x,
                       sy != 0.0f ? y / sy : y, 2000.0f);
    };
    burst(px, py);
    Services::PlaySound(engine, "OnEmptyPlaceClicked");
    if (sceneKind->IsSplit()) burst(px, sceneKind->MirrorY(py));
}

void PlayField::ResetAndForward(float score, float x, float y, const std::string& caption, int kind) {
    speedTimer = 0.0f;
    ShowScorePopup(score, x, y, events.Listener(), this, caption, kind, SceneLeft(context, *this, panelWidth));
}

void PlayField::QueueWinCheck() {
    playing = false;
    Timer(context, ownTimer)->Add(1.0f, [this] { CheckWin(); }, this);
}

// ---- flights

void PlayField::QueueObjectFlight(SceneObject* object, float tx, float ty, std::function<void(SceneObject*)> onArrival,
                                  bool intoInventory) {
    flights->Queue(object, tx, ty, std::move(onArrival), intoInventory);
}

void PlayField::SendObjectToInventory(SceneObject* object, const std::string& toolName, const std::string& taskName) {
    std::weak_ptr<void> self = GetLifeToken();
    flights->SendToBag(object, toolName, taskName, [this, self, toolName, taskName](SceneObject* arrived) {
        if (!self.expired()) OnTaskChanged(arrived, toolName, taskName);
    });
}

void PlayField::AddMagnifyingGlass(SceneObject* object, std::string taskName, bool glass) {
    flights->ArriveAtPanel(object, taskName, glass);
}

void PlayField::AddCigars(int count, SceneObject* object, std::string taskName) {
    flights->ArriveAtCigars(count, object, taskName);
}

void PlayField::OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName) {
    if (object)
        flights->ReceiveInBag(object->GetResourceName(), object->GetName(),
                              std::max(object->GetScaleX(), object->GetScaleY()), object, toolName, taskName);
    else
        flights->ReceiveInBag("", "", 1.0f, nullptr, toolName, taskName);
}

// ---- hints and tutorials

SceneObject* PlayField::FindHintObject() { return objects.PickHint(rules, Services::Hge(engine)); }

void PlayField::ShowHintTutorial() {
    if (FindMagnifyingGlassObject()) events.Send(LevelEvents::kShowHint, "TUTORIAL_LIST_OF_CLUES/9830470/30409430");
}

void PlayField::ShowExtraCigarTutorial(const std::string& taskName) {
    if (taskName.empty()) {
        pointer->Unlock();
        return;
    }
    const TaskRecord task = GetTask(taskName);
    SceneObject* object = task.objectNames.empty() ? nullptr : FindObjectByName(task.objectNames.front());
    pointer->Lock(taskName, object);
    if (!object)
        HtmlLog::Instance()->Warning("Play field: the locking task \"" + HtmlLog::Shown(taskName) +
                                     "\" names no object in the scene; nothing is locked.");
    if (taskName == "Cigar") events.Send(LevelEvents::kShowExtraCigarTutorial, "");
}

hgeSprite* PlayField::GetTaskSprite(const std::string& taskName) const {
    const TaskRecord task = GetTask(taskName);
    if (task.objectNames.empty()) return nullptr;
    hgeSprite* sprite = nullptr;
    for (SceneObject* object : objects.All())
        if (object->GetName() == task.objectNames.front()) sprite = object->GetDisplaySprite();
    return sprite;
}

// ---- delayed tasks and the win

void PlayField::UpdateDelayedTasks(const std::string& file, bool skipped) {
    bag->Resume();
    LogDelayedCount(rules.DelayedTasks().size());
    if (!rules.DelayedTasks().empty()) LogDelayed(rules.DelayedTasks().front());
    bool locking = false;
    SceneObject* waited = rules.MiniGameDone(file, locking);
    if (locking) {
        waited->StartFadeOut(1.0f);
        QueueWinCheck();
    }
    if (!waited) return;
    OnObjectClick(waited);
    if (!skipped) ResetAndForward(5000.0f, waited->GetX(), waited->GetY(), "", SCORE_MINIGAME);
}

void PlayField::RefreshDelayedTasks(const std::string&) {
    rules.PutOffMiniGame();
    bag->Resume();
    ProcessDelayedTasks();
}

void PlayField::ProcessDelayedTasks() {
    LogDelayedCount(rules.DelayedTasks().size());
    if (rules.DelayedTasks().empty()) return;
    const DelayedTaskRecord& last = rules.DelayedTasks().back();
    if (last.locking && last.sceneObject) objects.Restore(last.sceneObject);
    DelayedTaskRecord record;
    while (rules.TakeDelayed(record)) {
        LogDelayed(record);
        if (!record.sceneObject || !rules.PutOff(record)) continue;
        if (!objects.IsPutOff(record.sceneObject->GetName())) StartSolveLaterEffect(record.sceneObject);
    }
}

void PlayField::CheckWin() {
    playing = true;
    if (rules.TakeWin(events)) DropTitle(*this);
}

void PlayField::CheckFinished() {
    if (rules.Tasks().empty()) CheckWin();
}

// ---- saved state

bool PlayField::SaveState() {
    Player* player = context.player;
    if (!player) return true;
    // What the player names stays named until a newer state replaces it
    // (writes are atomic, so a failed one leaves the file on disk whole): the
    // state this level was resumed from, or the scene it started as, after the
    // place's won scenes.
    if (AreTasksDone()) {
        PlayFieldStateWriter::ForgetStateFile(*player);
        return true;
    }
    if (!rules.DelayedTasks().empty()) ProcessDelayedTasks();

    if (!sceneDocument.IsLoaded()) {
        // Without the scene document the file could not be played again.
        HtmlLog::Instance()->Error("Play field: the scene \"" + HtmlLog::Shown(scenePath) + "\" was never read (" +
                                   HtmlLog::Shown(sceneDocument.GetLastError()) + "); its state is not saved.");
        return false;
    }
    // The document the scene was read from, with what was taken out and the
    // rule sections written anew; the document itself stays as it was read.
    XMLDocument document("scene");
    PlayFieldStateWriter(rules, objects, *bag, *pointer, *flights).Write(*sceneDocument.GetRoot(), *document.GetRoot());
    // The level's scores, time, cigars and evidences go with the scene in the
    // one file, so that no save cut short pairs it with others.
    LevelProgress::WriteState(*player, *document.GetRoot());
    const std::string path = PlayFieldStateWriter::StateFilePath(player->SaveFile);
    if (!document.Save(path)) {
        const std::string& named = player->PlayFieldPath;
        HtmlLog::Instance()->Error(
            "Play field: the state of \"" + HtmlLog::Shown(scenePath) + "\" could not be written to \"" +
            HtmlLog::Shown(path) + "\"; " +
            (named.empty()    ? std::string("Continue opens the map, where the place starts anew")
             : named == path ? "Continue goes on from the state saved before, \"" + HtmlLog::Shown(named) + "\""
                             : "Continue starts \"" + HtmlLog::Shown(named) + "\" anew, after the place's scenes won before it") +
            ", with the scores, time and cigars that go with it.");
        return false;
    }
    player->PlayFieldPath = path;
    return true;
}
