// An engine object with an entity manager and no engine interface: enough for
// entities, the entity manager and timers to run in unit tests without a
// window or a headless backend.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/core/CEntity.h"

class CoreTestEngine : public ZOLTFramework::CEngine {
public:
    CoreTestEngine() { SetEntityManager(std::make_unique<EntityManager>()); }
    EntityManager& Manager() { return *m_pEntityManager; }
    // Runs the manager's update and render pass like one engine frame.
    void Step(float dt) {
        m_pEntityManager->Update(dt);
        m_pEntityManager->Render();
    }
    // Deletes the entity manager ahead of the engine, as its shut-down would.
    void DestroyManager() {
        SetEntityManager(nullptr);
    }
};

// An entity that writes what happens to it into a shared journal.
class JournalEntity : public ZOLTFramework::CEntity {
public:
    JournalEntity(const std::string& entityName, std::vector<std::string>* journal) : m_journal(journal) {
        name = entityName;
    }
    ~JournalEntity() override { Note("delete"); }
    void Update(float dt) override { Note("update"); }
    void Render() override { Note("render"); }
    void GotFocus() override { Note("got"); }
    void LostFocus() override { Note("lost"); }

    void Note(const std::string& what) {
        if (m_journal) m_journal->push_back(name + ":" + what);
    }

private:
    std::vector<std::string>* m_journal;
};
