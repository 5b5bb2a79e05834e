#include "support/scene/LevelStandIn.h"

#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "scene/Inventory.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayField.h"

LevelStandIn::LevelStandIn(const std::string& scenePath) : CScreenEntity("LevelStandIn") {
    EntityManager* manager = Manager();
    SetLayer(2.0f);
    manager->OpenScreen(this);
    auto* panelSprite = manager->Spawn<ZOLTFramework::CSpriteEntity>();
    panelSprite->AttachSprite(ZOLTFramework::Services::Sprite(engine, "InGamePanel"));
    panelSprite->AttachTo(this);
    panelSprite->SetDepth(200.0f);
    panel = panelSprite;
    PlayerManager* players = PlayerManager::Instance();
    // Adds itself to the entity manager.
    field = new PlayField(scenePath, this, SceneContext{players->GetActivePlayer(), &players->Timer, this});
    field->AttachTo(this);
    field->SetPosXY(0.0f, 0.0f);
    if (Inventory* bag = field->GetInventory()) {
        bag->AttachTo(panel);
        bag->SetDepth(-1.0f);
        bag->OnMove();
    }
}

LevelStandIn::~LevelStandIn() = default;

void LevelStandIn::Update(float dt) {
    CScreenEntity::Update(dt);
    clock += dt;
}

void LevelStandIn::OnQuestion(const std::string& event, const std::string& value) {
    events.push_back(event + "=" + value);
    eventTimes.push_back(clock);
    if (event == "MiniGame" && field) {
        field->Pause();
        field->PauseInventory();
    }
}

void LevelStandIn::ReportMiniGame(const std::string& result, const std::string& file) {
    events.push_back(result + "=" + file);
    eventTimes.push_back(clock);
    field->Resume();
    if (Inventory* bag = field->GetInventory()) bag->Resume();
    if (result == "MiniGameFinished")
        field->UpdateDelayedTasks(file, false);
    else if (result == "MiniGameSkip")
        field->UpdateDelayedTasks(file, true);
    else
        field->RefreshDelayedTasks(file);
}

bool LevelStandIn::ClueTarget(const std::string& task, float& screenY) const {
    const auto line = clueLines.find(task);
    if (line == clueLines.end()) return false;
    screenY = line->second;
    return true;
}

void LevelStandIn::OnAnswer(const std::string& id, bool yes) {
    events.push_back("answer:" + id + "=" + (yes ? "1" : "0"));
    eventTimes.push_back(clock);
}

std::vector<std::string> LevelStandIn::EventsNamed(const std::string& event) const {
    std::vector<std::string> found;
    for (const std::string& e : events)
        if (e.compare(0, event.size() + 1, event + "=") == 0) found.push_back(e);
    return found;
}

float LevelStandIn::TimeOf(const std::string& event) const {
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].compare(0, event.size() + 1, event + "=") == 0) return eventTimes[i];
    return -1.0f;
}
