// A short event sound: a decoded chunk that always plays on its own mixer
// channel, so that playing it again restarts it instead of overlapping.
#pragma once

#include "engine/Track.h"

struct Mix_Chunk;

namespace ZOLTFramework {

class CSoundTrack : public CTrack {
public:
    // Takes ownership of the chunk.
    CSoundTrack(const std::string& name, float volume, Mix_Chunk* chunk, int channel);
    ~CSoundTrack() override;

    // Starts the sound from its beginning at the track's volume.
    void Play();
    void Stop();
    bool IsPlaying() const;

    int GetChannel() const { return m_channel; }

private:
    Mix_Chunk* m_chunk;
    int m_channel;
};

}  // namespace ZOLTFramework
