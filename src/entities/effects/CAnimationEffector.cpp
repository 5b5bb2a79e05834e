#include "entities/effects/CAnimationEffector.h"

#include <algorithm>

namespace ZOLTFramework {

namespace {

const std::vector<CAnimationEffector::Key> kNoKeys;

bool KeyTimeLess(const CAnimationEffector::Key& a, const CAnimationEffector::Key& b) { return a.time < b.time; }

}  // namespace

CAnimationEffector::CAnimationEffector() {
    // A key position is defined from the start, not only after the first rewind.
    std::fill(current, current + kTrackCount, -1);
    paused = true;
}

CAnimationEffector::~CAnimationEffector() { Clear(); }

void CAnimationEffector::AddKey(int track, float time, float value) {
    if (!ValidTrack(track)) return;
    RemoveKey(track, time);
    tracks[track - 1].push_back({time, value});
    SortTrack(track - 1);
    if (time > duration) duration = time;
}

void CAnimationEffector::RemoveKey(int track, float time) {
    if (!ValidTrack(track)) return;
    std::vector<Key>& keys = tracks[track - 1];
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it->time == time) {
            keys.erase(it);
            return;
        }
    }
}

CAnimationEffector::Key* CAnimationEffector::FindKey(int track, float time) {
    if (!ValidTrack(track)) return nullptr;
    for (Key& key : tracks[track - 1]) {
        if (key.time == time) return &key;
    }
    return nullptr;
}

void CAnimationEffector::Clear() {
    for (std::vector<Key>& keys : tracks) keys.clear();
}

const std::vector<CAnimationEffector::Key>& CAnimationEffector::GetKeys(int track) const {
    return ValidTrack(track) ? tracks[track - 1] : kNoKeys;
}

void CAnimationEffector::SortTrack(int index) {
    std::stable_sort(tracks[index].begin(), tracks[index].end(), KeyTimeLess);
}

void CAnimationEffector::Prepare() {
    if (!GetTarget()) return;
    for (int i = 0; i < kTrackCount; ++i) {
        if (!tracks[i].empty()) SortTrack(i);
    }
    if (mode & MODE_BACKWARD)
        RewindToEnd();
    else
        RewindToStart();
    Resume();
}

void CAnimationEffector::Apply(int track, float value) {
    CEntity* target = GetTarget();
    if (!target) return;
    switch (track) {
        case TRACK_X:
            target->SetX(value);
            break;
        case TRACK_Y:
            target->SetY(value);
            break;
        case TRACK_ROTATION:
            target->SetRotation(value);
            break;
        case TRACK_OPACITY:
            target->SetOpacity(value);
            break;
        case TRACK_SCALE:
            target->SetScale(value);
            break;
        case TRACK_SCALE_X:
            target->SetScaleX(value);
            break;
        case TRACK_SCALE_Y:
            target->SetScaleY(value);
            break;
        default:
            break;
    }
}

void CAnimationEffector::ApplyFirstKeys() {
    for (int i = 0; i < kTrackCount; ++i) {
        if (!tracks[i].empty()) Apply(i + 1, tracks[i].front().value);
    }
}

void CAnimationEffector::ApplyLastKeys() {
    for (int i = 0; i < kTrackCount; ++i) {
        if (!tracks[i].empty()) Apply(i + 1, tracks[i].back().value);
    }
}

void CAnimationEffector::RewindToStart() {
    elapsed = 0.0f;
    std::fill(current, current + kTrackCount, -1);
    ApplyFirstKeys();
    Pause();
}

void CAnimationEffector::RewindToEnd() {
    for (int i = 0; i < kTrackCount; ++i) current[i] = static_cast<int>(tracks[i].size());
    elapsed = duration;
    ApplyLastKeys();
    Pause();
}

void CAnimationEffector::Update(float dt) {
    if (!GetTarget()) return;
    if (mode & MODE_BACKWARD) {
        elapsed -= dt;
        if (elapsed < 0.0f) {
            if (mode & MODE_PINGPONG) {
                mode = MODE_PINGPONG;
                RewindToStart();
                Resume();
            } else if (mode & MODE_LOOP) {
                RewindToEnd();
                Resume();
            } else {
                ApplyFirstKeys();
                elapsed = 0.0f;
                Pause();
            }
            return;
        }
        StepBackward();
    } else {
        elapsed += dt;
        if (elapsed > duration) {
            if (mode & MODE_PINGPONG) {
                mode = MODE_PINGPONG | MODE_BACKWARD;
                RewindToEnd();
                Resume();
            } else if (mode & MODE_LOOP) {
                RewindToStart();
                Resume();
            } else {
                ApplyLastKeys();
                elapsed = duration;
                Pause();
            }
            return;
        }
        StepForward();
    }
}

// Each track moves at most one key per frame: a frame longer than a key
// interval lands on the exact value of the key it reached.
void CAnimationEffector::StepForward() {
    for (int track = 0; track < kTrackCount; ++track) {
        const std::vector<Key>& keys = tracks[track];
        const int n = static_cast<int>(keys.size());
        int& i = current[track];
        if (i < 0 && n > 0 && keys[0].time <= elapsed) i = 0;
        if (i >= 0 && i < n - 1) {
            const Key& a = keys[i];
            const Key& b = keys[i + 1];
            Apply(track + 1, a.value + (b.value - a.value) * (elapsed - a.time) / (b.time - a.time));
            if (b.time <= elapsed) {
                ++i;
                Apply(track + 1, keys[i].value);
            }
        }
    }
}

void CAnimationEffector::StepBackward() {
    for (int track = 0; track < kTrackCount; ++track) {
        const std::vector<Key>& keys = tracks[track];
        const int n = static_cast<int>(keys.size());
        int& i = current[track];
        // A track cleared and refilled since the rewind may hold fewer keys.
        if (i > n) i = n;
        if (i == n && n > 0 && elapsed <= keys[n - 1].time) i = n - 1;
        if (i > 0 && i < n) {
            const Key& a = keys[i];
            const Key& b = keys[i - 1];
            Apply(track + 1, a.value + (b.value - a.value) * (elapsed - a.time) / (b.time - a.time));
            if (elapsed <= b.time) {
                --i;
                Apply(track + 1, keys[i].value);
            }
        }
    }
}

}  // namespace ZOLTFramework
