// A timeline with numbered marks. As the timeline passes a mark the timer
// reports it to its listener; it runs forwards or backwards, once, looping or
// back and forth. It only runs while attached to a parent (the entity it
// serves) and handed to the entity manager; it draws nothing and stays disabled.
#pragma once

#include <vector>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {

class CTimerListener;

class CTimer : public CEntity {
public:
    // Bits of `mode`.
    enum {
        MODE_BACKWARDS = 1,
        MODE_ONCE = 2,  // carries no behaviour; the default value
        MODE_LOOP = 4,
        MODE_PINGPONG = 8,
    };

    struct Mark {
        int markId;
        float time;
    };

    // Constructed paused and disabled.
    CTimer(int timerId, CTimerListener* listener);
    ~CTimer() override;

    void Update(float dt) override;
    // Restarts the timeline from its starting end (attached timers only).
    void Resume() override;

    // A time holds one mark: a mark at the same time is replaced.
    void AddMark(int markId, float time);
    void RemoveMark(int markId);
    Mark* FindMark(int markId);
    void ClearMarks();
    // Moves to t (clamped to [0, length]) and aims at the next mark in the
    // running direction.
    void SetTime(float t);

    int GetTimerId() const { return timerId; }

    // Set directly by users after construction.
    int mode = MODE_ONCE;

protected:
    void SortMarks();
    // Reports marks[currentMark] and steps to the next one in the running
    // direction. The step is taken before the listener runs, so a listener
    // that restarts or re-aims the timer is not overridden.
    void Report(int step);

    int timerId;
    CTimerListener* listener;
    std::vector<Mark*> marks;
    int currentMark = 0;
    float length = 0.0f;
    float time = 0.0f;

private:
    bool* m_destroyedFlag = nullptr;
};

}  // namespace ZOLTFramework
