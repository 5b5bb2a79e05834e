// Key-frame animator: up to seven tracks of (time, value) keys, one per
// animatable property of the target, interpolated linearly and played forward
// or backward, once, in a loop or back and forth.
#pragma once

#include <vector>

#include "entities/effects/CEffector.h"

namespace ZOLTFramework {

class CAnimationEffector : public CEffector {
public:
    // Track numbers (the first argument of AddKey).
    enum Track {
        TRACK_X = 1,
        TRACK_Y = 2,
        TRACK_ROTATION = 3,
        TRACK_OPACITY = 4,
        TRACK_SCALE = 5,
        TRACK_SCALE_X = 6,
        TRACK_SCALE_Y = 7
    };
    static const int kTrackCount = 7;

    // Bits of `mode`; with neither loop nor ping-pong a play runs once.
    enum ModeBits { MODE_BACKWARD = 1, MODE_LOOP = 4, MODE_PINGPONG = 8 };

    struct Key {
        float time;
        float value;
    };

    // Created paused: nothing happens until Prepare.
    CAnimationEffector();
    ~CAnimationEffector() override;

    // A key at exactly the same time on the track is replaced. Tracks outside
    // 1..7 are ignored.
    void AddKey(int track, float time, float value);
    // Erases the first key at exactly that time; the duration is not reduced.
    void RemoveKey(int track, float time);
    // The key at exactly that time, or null.
    Key* FindKey(int track, float time);
    // Empties every track; duration, elapsed, mode and the key positions stay.
    void Clear();

    // Starts a play from the first keys (forward) or the last ones (backward)
    // and resumes the effector. Nothing without a target.
    void Prepare();
    // Rewind to one end and apply that end's key values; both pause the effector.
    void RewindToStart();
    void RewindToEnd();

    void Update(float dt) override;

    // Keys of a track in time order (empty for a track outside 1..7).
    const std::vector<Key>& GetKeys(int track) const;

    // Bit set of ModeBits, written by the user before Prepare (default 2:
    // forward, once).
    int mode = 2;

private:
    static bool ValidTrack(int track) { return track >= 1 && track <= kTrackCount; }
    void SortTrack(int index);
    // Writes a value into the target's property of a track (1..7).
    void Apply(int track, float value);
    void ApplyFirstKeys();
    void ApplyLastKeys();
    void StepForward();
    void StepBackward();

    std::vector<Key> tracks[kTrackCount];
    int current[kTrackCount];
    float duration = 0.0f;
    float elapsed = 0.0f;
};

}  // namespace ZOLTFramework
