#include "engine/AudioManager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/HtmlLog.h"
#include "engine/MusicTrack.h"
#include "engine/OggStream.h"
#include "engine/SoundTrack.h"
#include "platform/FileSystem.h"

namespace ZOLTFramework {

namespace {
// The manager that holds the mixer device, if any.
CAudioManager* g_deviceOwner = nullptr;

const int kFirstChannels = 16;

float ClampVolume(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return std::min(v, 1.0f);
}
}  // namespace

CAudioManager::CAudioManager() = default;

CAudioManager::~CAudioManager() {
    if (m_deviceOpen) Mix_HookMusic(nullptr, nullptr);
    for (CSoundTrack* s : m_sounds) delete s;  // stops each sound first
    m_sounds.clear();
    std::vector<CMusicTrack*> music;
    {
        std::lock_guard<std::mutex> lock(m_musicMutex);
        music.swap(m_music);
    }
    for (CMusicTrack* m : music) delete m;
    m_currentMusic = nullptr;
    CloseDevice();
}

bool CAudioManager::OpenDevice() {
    if (m_deviceOpen) return true;
    if (g_deviceOwner) {
        HtmlLog::Instance()->Warning("Audio device is already held by another audio manager.");
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        HtmlLog::Instance()->Warning(std::string("No audio subsystem: ") + SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_OGG);
    // No format changes allowed: the music mixer writes exactly this format.
    if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, kChannels, 1024, nullptr, 0) != 0) {
        HtmlLog::Instance()->Warning(std::string("No audio output: ") + Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m_deviceOpen = true;
    g_deviceOwner = this;
    m_channelUsed.assign(kFirstChannels, false);
    Mix_AllocateChannels(kFirstChannels);
    m_mixBuffer.assign(static_cast<size_t>(OggStream::kMaxMixFrames) * kChannels, 0.0f);
    Mix_HookMusic(&CAudioManager::MusicHook, this);
    return true;
}

void CAudioManager::CloseDevice() {
    if (!m_deviceOpen) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_deviceOpen = false;
    if (g_deviceOwner == this) g_deviceOwner = nullptr;
}

int CAudioManager::AllocateChannel() {
    for (size_t i = 0; i < m_channelUsed.size(); ++i) {
        if (!m_channelUsed[i]) {
            m_channelUsed[i] = true;
            return static_cast<int>(i);
        }
    }
    const int channel = static_cast<int>(m_channelUsed.size());
    m_channelUsed.resize(m_channelUsed.size() * 2, false);
    Mix_AllocateChannels(static_cast<int>(m_channelUsed.size()));
    m_channelUsed[static_cast<size_t>(channel)] = true;
    return channel;
}

bool CAudioManager::LoadSound(const std::string& name, const std::string& file) {
    if (!m_deviceOpen) return false;
    std::string bytes;
    if (!FileSystem::ReadFile(file, bytes)) {
        HtmlLog::Instance()->Warning("Sound \"" + name + "\" is not loaded: can't read " + file);
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!chunk) {
        HtmlLog::Instance()->Warning("Sound \"" + name + "\" is not loaded from " + file + ": " +
                                     Mix_GetError());
        return false;
    }
    m_sounds.push_back(new CSoundTrack(name, m_soundVolume, chunk, AllocateChannel()));
    return true;
}

bool CAudioManager::LoadMusic(const std::string& name, const std::string& file) {
    if (!m_deviceOpen) return false;
    std::string bytes;
    if (!FileSystem::ReadFile(file, bytes)) {
        HtmlLog::Instance()->Warning("Music \"" + name + "\" is not loaded: can't read " + file);
        return false;
    }
    std::string error;
    std::unique_ptr<OggStream> stream = OggStream::Open(std::move(bytes), kSampleRate, kChannels, &error);
    if (!stream) {
        HtmlLog::Instance()->Warning("Music \"" + name + "\" is not loaded from " + file + ": " + error);
        return false;
    }
    CMusicTrack* track = new CMusicTrack(name, m_musicVolume, std::move(stream));
    std::lock_guard<std::mutex> lock(m_musicMutex);
    m_music.push_back(track);
    return true;
}

void CAudioManager::PlaySound(const std::string& name) {
    if (!m_deviceOpen) return;
    for (CSoundTrack* s : m_sounds) {
        if (s->GetName() != name) continue;
        s->Play();
        ++m_soundPlays[name];
    }
}

void CAudioManager::PlayMusic(const std::string& name, bool smooth) {
    if (!m_deviceOpen) return;
    for (CMusicTrack* m : m_music) {
        if (m->GetName() != name) continue;
        if (m_currentMusic) {
            m_currentMusic->SetSmooth(smooth);
            m_currentMusic->FadeOut();
        }
        m->SetSmooth(smooth);
        m->Start();
        m_currentMusic = m;
    }
}

void CAudioManager::StopMusic(const std::string& name, bool smooth) {
    if (!m_deviceOpen) return;
    for (CMusicTrack* m : m_music) {
        if (m->GetName() != name) continue;
        m->SetSmooth(smooth);
        m->FadeOut();
        if (m == m_currentMusic) m_currentMusic = nullptr;
    }
}

void CAudioManager::SetSoundVolume(float volume) {
    m_soundVolume = ClampVolume(volume);
    if (!m_deviceOpen) return;
    for (CSoundTrack* s : m_sounds) s->SetVolume(m_soundVolume);
}

void CAudioManager::SetMusicVolume(float volume, bool smooth) {
    m_musicVolume = ClampVolume(volume);
    if (!m_deviceOpen) return;
    for (CMusicTrack* m : m_music) {
        m->SetVolume(m_musicVolume);
        m->SetSmooth(smooth);
    }
}

void CAudioManager::Update(float dt) {
    if (!m_deviceOpen) return;
    for (CMusicTrack* m : m_music) m->Update(dt);
}

void CAudioManager::RemoveSound(const std::string& name) {
    if (!m_deviceOpen) return;
    auto keep = std::stable_partition(m_sounds.begin(), m_sounds.end(),
                                      [&name](CSoundTrack* s) { return s->GetName() != name; });
    for (auto it = keep; it != m_sounds.end(); ++it) {
        const size_t channel = static_cast<size_t>((*it)->GetChannel());
        delete *it;
        if (channel < m_channelUsed.size()) m_channelUsed[channel] = false;
    }
    m_sounds.erase(keep, m_sounds.end());
}

void CAudioManager::RemoveMusic(const std::string& name) {
    if (!m_deviceOpen) return;
    std::vector<CMusicTrack*> removed;
    {
        std::lock_guard<std::mutex> lock(m_musicMutex);
        auto keep = std::stable_partition(m_music.begin(), m_music.end(),
                                          [&name](CMusicTrack* m) { return m->GetName() != name; });
        removed.assign(keep, m_music.end());
        m_music.erase(keep, m_music.end());
    }
    for (CMusicTrack* m : removed) {
        if (m == m_currentMusic) m_currentMusic = nullptr;
        delete m;
    }
}

std::string CAudioManager::GetCurrentMusicName() const {
    return m_currentMusic ? m_currentMusic->GetName() : std::string();
}

CMusicTrack* CAudioManager::FindMusic(const std::string& name) const {
    for (CMusicTrack* m : m_music)
        if (m->GetName() == name) return m;
    return nullptr;
}

int CAudioManager::GetSoundPlayCount(const std::string& name) const {
    auto it = m_soundPlays.find(name);
    return it == m_soundPlays.end() ? 0 : it->second;
}

void CAudioManager::MusicHook(void* self, uint8_t* stream, int len) noexcept {
    static_cast<CAudioManager*>(self)->MixMusic(stream, len);
}

void CAudioManager::MixMusic(uint8_t* stream, int len) noexcept {
    if (!stream || len <= 0 || m_mixBuffer.empty()) return;
    const int frameBytes = static_cast<int>(sizeof(int16_t)) * kChannels;
    const int frames = len / frameBytes;
    const int most = static_cast<int>(m_mixBuffer.size()) / kChannels;
    std::lock_guard<std::mutex> lock(m_musicMutex);
    for (int done = 0; done < frames;) {
        const int piece = std::min(most, frames - done);
        MixPiece(stream + static_cast<size_t>(done) * frameBytes, piece);
        done += piece;
    }
}

void CAudioManager::MixPiece(uint8_t* stream, int frames) noexcept {
    const size_t samples = static_cast<size_t>(frames) * kChannels;
    std::fill(m_mixBuffer.begin(), m_mixBuffer.begin() + static_cast<std::ptrdiff_t>(samples), 0.0f);
    bool any = false;
    for (CMusicTrack* m : m_music) {
        OggStream* s = m->GetStream();
        if (!s || !s->IsPlaying()) continue;
        s->MixInto(m_mixBuffer.data(), frames);
        any = true;
    }
    if (!any) return;

    // Added to what the buffer holds, clipped to 16 bits.
    for (size_t i = 0; i < samples; ++i) {
        int16_t present;
        SDL_memcpy(&present, stream + i * sizeof(int16_t), sizeof(int16_t));
        float v = static_cast<float>(present) + m_mixBuffer[i] * 32767.0f;
        v = std::max(-32768.0f, std::min(32767.0f, v));
        const int16_t out = static_cast<int16_t>(std::lrint(v));
        SDL_memcpy(stream + i * sizeof(int16_t), &out, sizeof(int16_t));
    }
}

}  // namespace ZOLTFramework
