// A music piece: a streamed Ogg that fades in towards the track's volume and
// fades out to silence, by 0.2 per second when smooth, at once when not.
#pragma once

#include <memory>

#include "engine/Track.h"

namespace ZOLTFramework {

class OggStream;

class CMusicTrack : public CTrack {
public:
    CMusicTrack(const std::string& name, float volume, std::unique_ptr<OggStream> stream);
    ~CMusicTrack() override;

    // Fading in, following the track volume. A stream that is not playing starts
    // (repeating, from volume 0); one that still plays, for instance while it
    // fades out, turns round from its present volume. True when it was started.
    bool Start();
    // Fading out until silent, then stopped.
    void FadeOut();

    // One fade step of dt seconds.
    void Update(float dt);

    void SetSmooth(bool smooth) { m_smooth = smooth; }
    bool IsSmooth() const { return m_smooth; }

    bool IsPlaying() const;
    // The stream's present playing volume.
    float GetStreamVolume() const;

    OggStream* GetStream() const { return m_stream.get(); }

    // The fade speed: volume per second.
    static constexpr float kFadeSpeed = 0.2f;

private:
    std::unique_ptr<OggStream> m_stream;
    bool m_fadingIn = false;
    bool m_fadingOut = false;
    bool m_smooth = true;
};

}  // namespace ZOLTFramework
