#include "engine/MusicTrack.h"

#include <algorithm>

#include "engine/OggStream.h"

namespace ZOLTFramework {

CMusicTrack::CMusicTrack(const std::string& name, float volume, std::unique_ptr<OggStream> stream)
    : CTrack(name, volume), m_stream(std::move(stream)) {}

CMusicTrack::~CMusicTrack() {
    if (m_stream) m_stream->Stop();
}

bool CMusicTrack::Start() {
    m_fadingIn = true;
    m_fadingOut = false;
    if (!m_stream || m_stream->IsPlaying()) return false;
    m_stream->SetRepeat(true);
    m_stream->SetVolume(0.0f);
    m_stream->Play();
    return true;
}

void CMusicTrack::FadeOut() {
    m_fadingIn = false;
    m_fadingOut = true;
}

void CMusicTrack::Update(float dt) {
    if (!m_stream) return;
    const float step = kFadeSpeed * std::max(dt, 0.0f);
    if (m_fadingIn) {
        const float current = m_stream->GetVolume();
        const float target = GetVolume();
        if (current != target) {
            float next = target;
            if (m_smooth && current < target) next = std::min(current + step, target);
            m_stream->SetVolume(next);
        }
    }
    if (m_fadingOut) {
        float current = m_stream->GetVolume();
        if (current > 0.0f) {
            current = m_smooth ? std::max(current - step, 0.0f) : 0.0f;
            m_stream->SetVolume(current);
        }
        if (current <= 0.0f) {
            m_stream->Stop();
            m_fadingOut = false;
        }
    }
}

bool CMusicTrack::IsPlaying() const { return m_stream && m_stream->IsPlaying(); }

float CMusicTrack::GetStreamVolume() const { return m_stream ? m_stream->GetVolume() : 0.0f; }

}  // namespace ZOLTFramework
