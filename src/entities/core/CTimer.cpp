#include "entities/core/CTimer.h"

#include <algorithm>

#include "entities/core/CTimerListener.h"

namespace ZOLTFramework {

CTimer::CTimer(int timerId_, CTimerListener* listener_) : timerId(timerId_), listener(listener_) {
    paused = true;
    enabled = false;
    UpdateRegistration();
}

CTimer::~CTimer() {
    if (m_destroyedFlag) *m_destroyedFlag = true;
    ClearMarks();
}

void CTimer::SortMarks() {
    std::stable_sort(marks.begin(), marks.end(), [](const Mark* a, const Mark* b) { return a->time < b->time; });
}

void CTimer::AddMark(int markId, float markTime) {
    for (auto it = marks.begin(); it != marks.end(); ++it) {
        if ((*it)->time == markTime) {
            delete *it;
            marks.erase(it);
            break;
        }
    }
    marks.push_back(new Mark{markId, markTime});
    SortMarks();
    length = std::max(length, markTime);
}

void CTimer::RemoveMark(int markId) {
    for (auto it = marks.begin(); it != marks.end(); ++it) {
        if ((*it)->markId == markId) {
            delete *it;
            marks.erase(it);
            return;
        }
    }
}

CTimer::Mark* CTimer::FindMark(int markId) {
    for (Mark* m : marks) {
        if (m->markId == markId) return m;
    }
    return nullptr;
}

void CTimer::ClearMarks() {
    for (Mark* m : marks) delete m;
    marks.clear();
}

void CTimer::SetTime(float t) {
    time = std::min(std::max(t, 0.0f), length);
    const int count = static_cast<int>(marks.size());
    if (count == 0) {
        currentMark = (mode & MODE_BACKWARDS) ? -1 : 0;
        return;
    }
    if (mode & MODE_BACKWARDS) {
        currentMark = 0;
        for (int i = count - 1; i >= 0; --i) {
            if (marks[i]->time <= time) {
                currentMark = i;
                break;
            }
        }
    } else {
        currentMark = count - 1;
        for (int i = 0; i < count; ++i) {
            if (marks[i]->time >= time) {
                currentMark = i;
                break;
            }
        }
    }
}

void CTimer::Resume() {
    if (!parent) return;
    SortMarks();
    if (mode & MODE_BACKWARDS) {
        time = length;
        currentMark = static_cast<int>(marks.size()) - 1;
    } else {
        time = 0.0f;
        currentMark = 0;
    }
    paused = false;
}

void CTimer::Report(int step) {
    const int markId = marks[currentMark]->markId;
    currentMark += step;
    if (listener) listener->OnTimer(timerId, markId);
}

void CTimer::Update(float dt) {
    if (!parent) return;
    const int count = static_cast<int>(marks.size());
    bool destroyed = false;
    bool* outerFlag = m_destroyedFlag;
    m_destroyedFlag = &destroyed;

    if (!(mode & MODE_BACKWARDS)) {
        time += dt;
        if (currentMark >= 0 && currentMark < count && marks[currentMark]->time <= time) Report(1);
        if (destroyed) {
            if (outerFlag) *outerFlag = true;
            return;
        }
        if (time > length) {
            if (mode & MODE_PINGPONG) {
                mode = MODE_BACKWARDS | MODE_PINGPONG;
                time = length;
                currentMark = static_cast<int>(marks.size()) - 1;
            } else if (!(mode & MODE_LOOP)) {
                Pause();
            } else {
                time = 0.0f;
                currentMark = 0;
            }
        }
    } else {
        time -= dt;
        if (currentMark >= 0 && currentMark < count && marks[currentMark]->time >= time) Report(-1);
        if (destroyed) {
            if (outerFlag) *outerFlag = true;
            return;
        }
        if (time < 0.0f) {
            if (mode & MODE_PINGPONG) {
                mode = MODE_PINGPONG;
                time = 0.0f;
                currentMark = 0;
            } else if (!(mode & MODE_LOOP)) {
                Pause();
            } else {
                time = length;
                currentMark = static_cast<int>(marks.size()) - 1;
            }
        }
    }
    m_destroyedFlag = outerFlag;
}

}  // namespace ZOLTFramework
