// One streamed Ogg Vorbis piece: the compressed bytes stay in memory and are
// decoded a little at a time while the mixer asks for samples, converted to the
// device's rate and channel count. Play state, repeat and volume are set from the
// game thread and read by the audio thread that calls MixInto; each stream
// guards its own state.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct stb_vorbis;
struct _SDL_AudioStream;

namespace ZOLTFramework {

class OggStream {
public:
    // Null when the bytes are not an Ogg Vorbis stream (error says why).
    static std::unique_ptr<OggStream> Open(std::string bytes, int outRate, int outChannels,
                                           std::string* error = nullptr);
    ~OggStream();

    OggStream(const OggStream&) = delete;
    OggStream& operator=(const OggStream&) = delete;

    // Starts or resumes from the present position; nothing when already playing.
    void Play();
    // Pauses at the present position.
    void Stop();
    bool IsPlaying() const;

    void SetRepeat(bool repeat);
    bool GetRepeat() const;

    // The stream's own playing volume, 0 to 1. Kept exactly as set.
    void SetVolume(float volume);
    float GetVolume() const;

    // Audio thread: adds `frames` frames of interleaved float samples, scaled by
    // the volume, to out. A stopped stream adds nothing. A stream without repeat
    // stops at its end. Allocates nothing: more than kMaxMixFrames frames are
    // mixed in pieces.
    void MixInto(float* out, int frames) noexcept;
    static constexpr int kMaxMixFrames = 4096;

private:
    OggStream() = default;
    // Decodes more source frames into the converter; false at the end of the
    // piece (after a repeat attempt when repeating).
    bool Refill();

    std::string m_bytes;
    stb_vorbis* m_vorbis = nullptr;
    _SDL_AudioStream* m_converter = nullptr;
    int m_sourceChannels = 0;
    int m_outChannels = 2;

    mutable std::mutex m_mutex;
    bool m_playing = false;
    bool m_repeat = false;
    float m_volume = 1.0f;
    float m_appliedVolume = 1.0f;  // volume reached at the end of the last mix

    std::vector<float> m_decodeBuffer;
    std::vector<float> m_convertBuffer;
};

}  // namespace ZOLTFramework
