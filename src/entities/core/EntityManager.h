// Owns every entity handed to it: updates them once a frame in the order they
// joined, draws the registered ones by layer, then absolute depth, then the
// order in which they joined (Add, or the first registration of an entity that
// was never added), and keeps the stack of screens whose top has the focus.
// Ties therefore keep one order at every re-sort, whatever joined or left.
//
// Lifetimes: the manager takes an entity out of its lists before deleting it.
// An entity deleted any other way calls Forget from its destructor, which takes
// it out of every list and screen-stack slot (the new top gets the focus).
// Entities may Add, Register, Unregister, push and remove screens, Kill and even
// delete other entities while the manager walks its lists: removals leave a
// hole that is skipped and closed after the walk.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace ZOLTFramework {
class CEntity;
}

class EntityManager {
public:
    using CEntity = ZOLTFramework::CEntity;

    EntityManager();
    EntityManager(const EntityManager&) = delete;
    EntityManager& operator=(const EntityManager&) = delete;
    // Deletes every entity it still holds.
    ~EntityManager();

    // The owning calls. Every entity the program makes is created through one
    // of them, so it has an owner from its first line on:
    //  - Spawn creates an entity that the manager owns from then on; it joins
    //    at the end of the current frame's update.
    //  - OpenScreen creates a screen, takes ownership and pushes it on the
    //    stack in one step.
    // A class that hands itself over from its constructor (dialogs, the pause
    // screen, the option and player screens) calls Add(this) or
    // OpenScreen(this) there; Spawn and OpenScreen of such a class then find
    // it owned (and pushed) already and do not repeat it.
    // Without a manager nothing is created: code that would open a screen does
    // nothing. Parts of an entity are made with CEntity::SpawnChild, which
    // falls back to the parent as owner when there is no manager.
    template <class T, class... Args>
    T* Spawn(Args&&... args) {
        T* entity = new T(std::forward<Args>(args)...);
        TakeOver(entity);
        return entity;
    }
    template <class T, class... Args>
    T* OpenScreen(Args&&... args) {
        T* screen = new T(std::forward<Args>(args)...);
        OpenScreen(static_cast<CEntity*>(screen));
        return screen;
    }
    // Takes ownership of an entity that hands itself over. A second Add of the
    // same entity is ignored (Warning row).
    void Add(CEntity* entity);
    // Takes ownership (unless already held) and pushes the screen (unless it
    // is on the stack already).
    void OpenScreen(CEntity* screen);

    // Draw-list membership; called by CEntity::UpdateRegistration only.
    void Register(CEntity* entity);
    void Unregister(CEntity* entity);

    // The current top loses the focus, the screen becomes the top and gets it.
    // The stack does not own the screen: OpenScreen is the call that owns and
    // pushes; a push alone is for a screen that comes back to the top.
    void PushScreen(CEntity* screen);
    // The screen gets LostFocus; when it was the top it is popped and the new
    // top gets GotFocus, otherwise its first occurrence is taken out silently.
    void RemoveScreen(CEntity* screen);

    // Removal of dead entities, update of the live ones, merge of the new ones.
    void Update(float dt);
    // Sorts the draw list when needed, then renders every live registered entity.
    void Render();

    // Raised by layer and depth changes: the next render pass sorts again.
    void RequestResort() { m_resort = true; }

    // Called by an entity's destructor when it is deleted by anyone but the
    // manager: it leaves every list and screen-stack occurrence.
    void Forget(CEntity* entity);

    // Registered entities in current draw order (holes skipped).
    std::vector<CEntity*> GetDrawList() const;
    const std::vector<CEntity*>& GetScreenStack() const { return m_screens; }
    CEntity* GetTopScreen() const { return m_screens.empty() ? nullptr : m_screens.back(); }

private:
    // Add, unless this manager owns the entity already.
    void TakeOver(CEntity* entity);
    void RemoveDead();
    void UpdateLive(float dt);
    void Merge();
    // Takes every registered entity's draw keys, then sorts the list with DrawOrderLess.
    void SortDrawList();
    // The draw order: effective layer, then absolute depth, then join order,
    // over the keys SortDrawList took (a NaN key counts as 0).
    static bool DrawOrderLess(const CEntity* a, const CEntity* b);
    void CompactEntities();
    void CompactDrawList();
    // Takes every occurrence of a leaving screen off the stack; the new top
    // gets the focus when the top changed. No LostFocus to the leaving one.
    void DropScreen(CEntity* screen);
    void DropFromDrawList(CEntity* entity);
    // Takes an entity that leaves the manager for good out of the draw list and
    // clears the manager's bookkeeping on it.
    void Release(CEntity* entity);

    std::vector<CEntity*> m_entities;  // owned, in order of joining; may hold holes
    std::vector<CEntity*> m_drawList;  // registered, not owned; may hold holes
    std::vector<CEntity*> m_pending;   // owned, added since the last merge; may hold holes
    std::vector<CEntity*> m_screens;   // the last one is the top
    bool m_resort = false;
    bool m_entityHoles = false;
    bool m_drawHoles = false;
    bool m_pendingHoles = false;
    bool m_destroying = false;
    unsigned long long m_joined = 0;  // the last join order handed out
};
