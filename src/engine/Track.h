// A named sound or music track of the audio manager. Every living track is
// counted, so the engine can tell at shut-down whether any was left behind.
#pragma once

#include <atomic>
#include <string>

namespace ZOLTFramework {

class CTrack {
public:
    CTrack(const std::string& name, float volume);
    virtual ~CTrack();

    CTrack(const CTrack&) = delete;
    CTrack& operator=(const CTrack&) = delete;

    const std::string& GetName() const { return m_name; }

    // The volume the track plays at (sound) or follows (music), 0 to 1.
    float GetVolume() const { return m_volume; }
    void SetVolume(float volume);

    // Tracks alive in the whole process.
    static int GetLiveCount();

private:
    std::string m_name;
    float m_volume;

    static std::atomic<int> s_liveCount;
};

}  // namespace ZOLTFramework
