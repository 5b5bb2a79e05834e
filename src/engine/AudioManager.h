// All sound of the game: short event sounds and streamed music pieces, each
// registered under a name and afterwards addressed by it (every track of that
// name answers). Music pieces fade in and out; several can sound at once while
// one fades out and the next fades in. The manager mixes the music itself on the
// audio thread; everything else runs on the game thread.
//
// Without an open device every operation does nothing, except that the two
// volumes are still stored (the options screen reads them back and writes them
// to the ini file).
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace ZOLTFramework {

class CSoundTrack;
class CMusicTrack;

class CAudioManager {
public:
    CAudioManager();
    ~CAudioManager();

    CAudioManager(const CAudioManager&) = delete;
    CAudioManager& operator=(const CAudioManager&) = delete;

    // Opens the default output device. True when a device is open. Only one
    // manager holds the device at a time.
    bool OpenDevice();

    // Registers a sound (any format the mixer reads; decoded whole) or a music
    // piece (Ogg Vorbis, streamed) under a name. False, nothing registered and
    // one log row when the file cannot be read or decoded.
    bool LoadSound(const std::string& name, const std::string& file);
    bool LoadMusic(const std::string& name, const std::string& file);

    // Plays every sound of that name from its beginning at the sound volume.
    void PlaySound(const std::string& name);
    // Fades the current music out and every piece of that name in; the piece
    // becomes the current music.
    void PlayMusic(const std::string& name, bool smooth);
    // Fades every piece of that name out. When one of them is the current music,
    // there is no current music afterwards.
    void StopMusic(const std::string& name, bool smooth);

    // Heard at the next play of each sound.
    void SetSoundVolume(float volume);
    // Every music piece follows the new volume: at 0.2 per second when smooth.
    void SetMusicVolume(float volume, bool smooth);
    float GetSoundVolume() const { return m_soundVolume; }
    float GetMusicVolume() const { return m_musicVolume; }

    // The fade step of every music piece; called once per frame.
    void Update(float dt);

    void RemoveSound(const std::string& name);
    void RemoveMusic(const std::string& name);

    // The piece last started, or null; its name, empty when none.
    std::string GetCurrentMusicName() const;

    // Inspection: the first music piece of a name (null when none) and how
    // often each sound name was played.
    CMusicTrack* FindMusic(const std::string& name) const;
    int GetSoundPlayCount(const std::string& name) const;

    // Audio thread: adds the playing music pieces to a buffer of len bytes in
    // the device format (16-bit signed, interleaved stereo). Allocates nothing
    // (the mix buffer is sized when the device opens; longer buffers are mixed
    // in pieces) and throws nothing: it is called from C.
    void MixMusic(uint8_t* stream, int len) noexcept;

    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

private:
    static void MusicHook(void* self, uint8_t* stream, int len) noexcept;
    void MixPiece(uint8_t* stream, int frames) noexcept;
    int AllocateChannel();
    void CloseDevice();

    bool m_deviceOpen = false;
    std::vector<CSoundTrack*> m_sounds;
    std::vector<CMusicTrack*> m_music;  // read by the audio thread under m_musicMutex
    std::vector<bool> m_channelUsed;
    float m_soundVolume = 1.0f;
    float m_musicVolume = 0.8f;
    CMusicTrack* m_currentMusic = nullptr;

    std::map<std::string, int> m_soundPlays;

    std::mutex m_musicMutex;
    std::vector<float> m_mixBuffer;  // sized by OpenDevice, then used by the audio thread only
};

}  // namespace ZOLTFramework
