// A list of delayed calls: "call this after so many seconds". Screens and
// services schedule every delayed action of the game on one of these.
//
// Each entry names an owner entity (or none): when the owner is destroyed or
// killed, the entry is dropped without being called, so a delayed call never
// outlives its target. Firing is safe against callbacks that add, clear or
// re-add entries: entries fire in the order they were added, and entries added
// during a pass are visited in that same pass (firing when their delay is at
// most the frame time).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {
namespace GameManager {

class Timer : public CEntity {
public:
    using Callback = std::function<void()>;

    Timer() = default;
    // Pending entries die unfired.
    ~Timer() override;

    // Advances every entry by dt and fires those that ran out.
    void Update(float dt) override;

    // Calls callback after delay seconds. owner: the entity whose death cancels
    // the call (the object the callback is bound to, or the entity it works
    // on); null when the call depends on no entity.
    void Add(float delay, Callback callback, CEntity* owner);
    // Drops every pending entry without calling it.
    void Clear();
    // True when no entry waits to be called (entries of a dead owner do not).
    bool IsEmpty() const;

    // A chain of calls that keep adding due entries stops after this many
    // calls in one pass; the rest wait for the next frame.
    static const int kMaxCallsPerPass = 10000;

private:
    struct Entry {
        float remaining;
        Callback callback;
        uint64_t id;
        CEntity* owner;
        std::weak_ptr<void> ownerToken;
    };
    static bool IsCancelled(const Entry& entry);

    std::vector<Entry> entries;  // ascending ids: the order of adding
    uint64_t m_nextId = 1;
    bool* m_destroyedFlag = nullptr;  // set while Update runs, so a callback may delete the timer
};

}  // namespace GameManager
}  // namespace ZOLTFramework
