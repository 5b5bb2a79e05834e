// What a level screen does with its play field, for the scene targets: a
// screen that listens to the field's questions, owns the field, pauses it on
// "MiniGame" as the level would, and plays the scene a little: the mouse
// goes over the field and clicks where the first objects stand.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FuzzGame.h"
#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"

class FuzzLevel : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CQuestionListener {
public:
    explicit FuzzLevel(const std::string& scenePath) : CScreenEntity("FuzzLevel") {
        SetLayer(2.0f);
        Manager()->OpenScreen(this);
        PlayerManager* players = PlayerManager::Instance();
        // Adds itself to the entity manager.
        field = new PlayField(scenePath, this, SceneContext{players->GetActivePlayer(), &players->Timer, nullptr});
        field->AttachTo(this);
        field->SetPosXY(0.0f, 0.0f);
    }

    void OnQuestion(const std::string& event, const std::string& value) override {
        if (event == "MiniGame" && field) {
            field->Pause();
            field->PauseInventory();
        }
    }
    void OnAnswer(const std::string& id, bool yes) override {}

    PlayField* Field() const { return field; }

private:
    PlayField* field = nullptr;
};

// The demo scenes' resource groups stay loaded for the whole run: a hidden,
// paused play field of each holds its group, so a field that closes does not
// purge it and the next input need not decode the pictures again.
inline void FuzzKeepDemoScenes() {
    static const bool kept = [] {
        for (const char* scene : {"data/Scenes/Study.xml", "data/Scenes/Portrait.xml"}) {
            // Adds itself to the entity manager.
            auto* keeper = new PlayField(scene, nullptr, SceneContext{nullptr, &PlayerManager::Instance()->Timer, nullptr});
            keeper->Pause();
            keeper->Hide();
        }
        FuzzGame().Frames(1);
        PlayerManager::Instance()->Timer->Clear();
        return true;
    }();
    (void)kept;
}

// Opens the scene, runs it for a while with the mouse over it and clicks on
// its first objects, then closes everything.
inline void FuzzPlayScene(const std::string& scenePath) {
    FuzzGameEngine& game = FuzzGame();
    FuzzKeepDemoScenes();
    auto* level = new FuzzLevel(scenePath);  // owned by the entity manager
    std::weak_ptr<void> alive = level->GetLifeToken();
    game.Frames(15);  // title and panel
    if (!alive.expired() && level->Field()) {
        // The places first: a click may take objects away.
        std::vector<std::pair<float, float>> places;
        for (const SceneObject* object : level->Field()->GetSceneObjects()) {
            if (places.size() == 12) break;
            places.push_back({object->GetX() / PlayField::kScreenToScene + 180.0f,
                              object->GetY() / PlayField::kScreenToScene});
        }
        for (const auto& place : places) {
            game.Click(place.first, place.second);
            if (alive.expired()) break;
        }
    }
    game.Input(InputEvent::Move, 0, 400.0f, 300.0f);
    game.Frames(10);
    game.CloseAll();
}
