#include "entities/core/GameTimer.h"

#include <algorithm>

#include "engine/HtmlLog.h"

namespace ZOLTFramework {
namespace GameManager {

Timer::~Timer() {
    if (m_destroyedFlag) *m_destroyedFlag = true;
}

void Timer::Add(float delay, Callback callback, CEntity* owner) {
    Entry entry{delay, std::move(callback), m_nextId++, owner, {}};
    if (owner) entry.ownerToken = owner->GetLifeToken();
    entries.push_back(std::move(entry));
}

void Timer::Clear() { entries.clear(); }

bool Timer::IsCancelled(const Entry& entry) {
    if (!entry.owner) return false;
    return entry.ownerToken.expired() || entry.owner->IsDead();
}

bool Timer::IsEmpty() const {
    return std::all_of(entries.begin(), entries.end(), [](const Entry& e) { return IsCancelled(e); });
}

void Timer::Update(float dt) {
    bool destroyed = false;
    bool* outerFlag = m_destroyedFlag;
    m_destroyedFlag = &destroyed;

    // Walk by id rather than by index: a callback may clear the list or add to
    // it, and the ids keep the place whatever it did.
    uint64_t nextId = 0;
    int calls = 0;
    while (true) {
        auto it = std::lower_bound(entries.begin(), entries.end(), nextId,
                                   [](const Entry& e, uint64_t id) { return e.id < id; });
        if (it == entries.end()) break;
        const size_t i = static_cast<size_t>(it - entries.begin());

        Entry& entry = entries[i];
        nextId = entry.id + 1;
        if (IsCancelled(entry)) {
            entries.erase(entries.begin() + i);
            continue;
        }
        entry.remaining -= dt;
        if (entry.remaining > 0.0f) continue;
        if (calls >= kMaxCallsPerPass) {
            HtmlLog::Instance()->Warning("Timer: too many delayed calls in one frame; the rest wait for the next frame.");
            break;
        }
        Callback callback = std::move(entry.callback);
        entries.erase(entries.begin() + i);
        ++calls;
        callback();
        if (destroyed) {
            if (outerFlag) *outerFlag = true;
            return;
        }
    }
    m_destroyedFlag = outerFlag;
}

}  // namespace GameManager
}  // namespace ZOLTFramework
