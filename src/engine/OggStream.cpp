#include "engine/OggStream.h"

#include <SDL.h>

#include <algorithm>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace ZOLTFramework {

namespace {
const int kDecodeFrames = 1024;

float ClampVolume(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return std::min(v, 1.0f);
}
}  // namespace

std::unique_ptr<OggStream> OggStream::Open(std::string bytes, int outRate, int outChannels,
                                           std::string* error) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::unique_ptr<OggStream>();
    };
    if (outRate <= 0 || outChannels <= 0) return fail("bad output format");
    if (bytes.empty()) return fail("empty file");
    if (bytes.size() > static_cast<size_t>(INT32_MAX)) return fail("file too large");

    std::unique_ptr<OggStream> s(new OggStream());
    s->m_bytes = std::move(bytes);
    int vorbisError = 0;
    s->m_vorbis = stb_vorbis_open_memory(reinterpret_cast<const unsigned char*>(s->m_bytes.data()),
                                         static_cast<int>(s->m_bytes.size()), &vorbisError, nullptr);
    if (!s->m_vorbis) return fail("not an Ogg Vorbis stream (error " + std::to_string(vorbisError) + ")");

    stb_vorbis_info info = stb_vorbis_get_info(s->m_vorbis);
    if (info.channels <= 0 || info.sample_rate == 0) return fail("stream without channels or rate");
    s->m_sourceChannels = info.channels;
    s->m_outChannels = outChannels;
    s->m_converter = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(info.channels),
                                        static_cast<int>(info.sample_rate), AUDIO_F32SYS,
                                        static_cast<Uint8>(outChannels), outRate);
    if (!s->m_converter) return fail(std::string("no converter: ") + SDL_GetError());
    s->m_decodeBuffer.resize(static_cast<size_t>(kDecodeFrames) * info.channels);
    // Sized here: the audio thread never allocates.
    s->m_convertBuffer.resize(static_cast<size_t>(kMaxMixFrames) * outChannels);
    return s;
}

OggStream::~OggStream() {
    if (m_converter) SDL_FreeAudioStream(m_converter);
    if (m_vorbis) stb_vorbis_close(m_vorbis);
}

void OggStream::Play() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_playing) return;
    m_playing = true;
    m_appliedVolume = m_volume;
}

void OggStream::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_playing = false;
}

bool OggStream::IsPlaying() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_playing;
}

void OggStream::SetRepeat(bool repeat) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_repeat = repeat;
}

bool OggStream::GetRepeat() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_repeat;
}

void OggStream::SetVolume(float volume) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_volume = ClampVolume(volume);
}

float OggStream::GetVolume() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_volume;
}

bool OggStream::Refill() {
    const int channels = m_sourceChannels;
    int got = stb_vorbis_get_samples_float_interleaved(m_vorbis, channels, m_decodeBuffer.data(),
                                                       static_cast<int>(m_decodeBuffer.size()));
    if (got <= 0 && m_repeat) {
        // One attempt from the start per refill: a piece that decodes to nothing
        // does not spin the audio thread.
        stb_vorbis_seek_start(m_vorbis);
        got = stb_vorbis_get_samples_float_interleaved(m_vorbis, channels, m_decodeBuffer.data(),
                                                       static_cast<int>(m_decodeBuffer.size()));
    }
    if (got <= 0) return false;
    SDL_AudioStreamPut(m_converter, m_decodeBuffer.data(),
                       static_cast<int>(sizeof(float)) * got * channels);
    return true;
}

void OggStream::MixInto(float* out, int frames) noexcept {
    if (!out || frames <= 0) return;
    for (; frames > kMaxMixFrames; frames -= kMaxMixFrames, out += kMaxMixFrames * m_outChannels)
        MixInto(out, kMaxMixFrames);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_playing) return;

    const int frameBytes = static_cast<int>(sizeof(float)) * m_outChannels;
    const int wanted = frames * frameBytes;
    bool ended = false;
    while (SDL_AudioStreamAvailable(m_converter) < wanted) {
        if (!Refill()) {
            // The converter holds back the last source frames for its filter:
            // silence behind them lets them out.
            std::fill(m_decodeBuffer.begin(), m_decodeBuffer.end(), 0.0f);
            SDL_AudioStreamPut(m_converter, m_decodeBuffer.data(),
                               static_cast<int>(sizeof(float) * m_decodeBuffer.size()));
            SDL_AudioStreamFlush(m_converter);
            ended = true;
            break;
        }
    }

    int gotBytes = SDL_AudioStreamGet(m_converter, m_convertBuffer.data(), wanted);
    if (gotBytes < 0) gotBytes = 0;
    const int gotFrames = gotBytes / frameBytes;

    // Glide from the volume of the last mix to the present one across the
    // buffer, so that fade steps do not click.
    const float from = m_appliedVolume;
    const float to = m_volume;
    const float slope = gotFrames > 0 ? (to - from) / static_cast<float>(gotFrames) : 0.0f;
    const float* src = m_convertBuffer.data();
    for (int f = 0; f < gotFrames; ++f) {
        const float gain = from + slope * static_cast<float>(f + 1);
        for (int c = 0; c < m_outChannels; ++c) *out++ += *src++ * gain;
    }
    m_appliedVolume = to;

    if (ended && SDL_AudioStreamAvailable(m_converter) == 0) {
        // The end of a piece that does not repeat: the next Play starts it over.
        m_playing = false;
        stb_vorbis_seek_start(m_vorbis);
        SDL_AudioStreamClear(m_converter);
    }
}

}  // namespace ZOLTFramework
