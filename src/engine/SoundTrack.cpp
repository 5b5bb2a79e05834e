#include "engine/SoundTrack.h"

#include <SDL_mixer.h>

#include <cmath>

namespace ZOLTFramework {

CSoundTrack::CSoundTrack(const std::string& name, float volume, Mix_Chunk* chunk, int channel)
    : CTrack(name, volume), m_chunk(chunk), m_channel(channel) {}

CSoundTrack::~CSoundTrack() {
    Stop();
    if (m_chunk) Mix_FreeChunk(m_chunk);
}

void CSoundTrack::Play() {
    if (!m_chunk) return;
    Mix_Volume(m_channel, static_cast<int>(std::lround(GetVolume() * MIX_MAX_VOLUME)));
    // Playing on a busy channel halts what it plays first.
    Mix_PlayChannel(m_channel, m_chunk, 0);
}

void CSoundTrack::Stop() { Mix_HaltChannel(m_channel); }

bool CSoundTrack::IsPlaying() const { return Mix_Playing(m_channel) != 0; }

}  // namespace ZOLTFramework
