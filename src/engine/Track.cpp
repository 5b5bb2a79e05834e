#include "engine/Track.h"

#include <algorithm>

namespace ZOLTFramework {

std::atomic<int> CTrack::s_liveCount{0};

CTrack::CTrack(const std::string& name, float volume) : m_name(name), m_volume(0.0f) {
    SetVolume(volume);
    ++s_liveCount;
}

CTrack::~CTrack() { --s_liveCount; }

void CTrack::SetVolume(float volume) {
    // NaN compares false everywhere: treat it as silence.
    if (!(volume > 0.0f)) volume = 0.0f;
    m_volume = std::min(volume, 1.0f);
}

int CTrack::GetLiveCount() { return s_liveCount.load(); }

}  // namespace ZOLTFramework
