// The events of a scene as the level hears them: each (event, value) the rules
// or the play field send goes to the listener's OnQuestion at once, when there
// is a listener (a field made by a script has none).
#pragma once

#include <string>

#include "entities/core/Listeners.h"
#include "scene/SceneRules.h"

class ListenerEvents final : public SceneRules::Events {
public:
    explicit ListenerEvents(ZOLTFramework::CQuestionListener* eventListener) : listener(eventListener) {}

    void Send(const std::string& event, const std::string& value) override {
        if (listener) listener->OnQuestion(event, value);
    }
    ZOLTFramework::CQuestionListener* Listener() const { return listener; }

private:
    ZOLTFramework::CQuestionListener* listener;
};
