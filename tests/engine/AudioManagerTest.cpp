#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/AudioManager.h"
#include "engine/MusicTrack.h"
#include "engine/Track.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/TempDir.h"
#include "AudioFixtures.h"

using ZOLTFramework::CAudioManager;
using ZOLTFramework::CMusicTrack;
using ZOLTFramework::CTrack;

namespace {

// Writes a file into the folder and returns its full name.
inline std::string Put(const TempDir& dir, const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return dir / name;
}

const float kDt = 1.0f / 300.0f;

class AudioManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_liveBefore = CTrack::GetLiveCount();
        m_wav = Put(m_folder, "beep.wav", audio_test::MakeWav());
        m_ogg = Put(m_folder, "piece.ogg", audio_test::ReadBytes(audio_test::OggFixturePath()));
        m_audio.reset(new CAudioManager());
        ASSERT_TRUE(m_audio->OpenDevice()) << "the dummy audio driver should open";
    }
    void TearDown() override {
        m_audio.reset();
        EXPECT_EQ(CTrack::GetLiveCount(), m_liveBefore);
    }

    // Runs the fade steps of `seconds` of frames.
    void Run(float seconds) {
        const int frames = static_cast<int>(seconds * 300.0f + 0.5f);
        for (int i = 0; i < frames; ++i) m_audio->Update(kDt);
    }
    float Volume(const std::string& name) { return m_audio->FindMusic(name)->GetStreamVolume(); }
    // The mixer channel that plays now (the first one), or -1.
    static int PlayingChannel() {
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
            if (Mix_Playing(channel)) return channel;
        return -1;
    }
    bool Playing(const std::string& name) { return m_audio->FindMusic(name)->IsPlaying(); }

    TempDir m_folder;
    std::string m_wav, m_ogg;
    std::unique_ptr<CAudioManager> m_audio;
    int m_liveBefore = 0;
};

}  // namespace

TEST_F(AudioManagerTest, RegistersTracksByNameAndRefusesBadFiles) {
    HtmlLogCapture log;
    EXPECT_TRUE(m_audio->LoadSound("Beep", m_wav));
    EXPECT_TRUE(m_audio->LoadSound("Beep", m_wav));  // names need not be unique
    EXPECT_TRUE(m_audio->LoadMusic("music1", m_ogg));
    EXPECT_EQ(CTrack::GetLiveCount(), m_liveBefore + 3);
    EXPECT_TRUE(m_audio->LoadSound("OggBeep", m_ogg)) << "event sounds are Ogg files";
    m_audio->RemoveSound("OggBeep");

    EXPECT_FALSE(m_audio->LoadSound("Missing", (m_folder / "nothing.ogg")));
    EXPECT_FALSE(m_audio->LoadMusic("MissingMusic", (m_folder / "nothing.ogg")));
    const std::string junk = Put(m_folder, "junk.ogg", "this is not a sound");
    EXPECT_FALSE(m_audio->LoadSound("Junk", junk));
    EXPECT_FALSE(m_audio->LoadMusic("JunkMusic", junk));
    EXPECT_FALSE(m_audio->LoadMusic("WavMusic", m_wav));  // music is streamed Ogg only

    EXPECT_NE(m_audio->FindMusic("music1"), nullptr);
    EXPECT_EQ(CTrack::GetLiveCount(), m_liveBefore + 3);
    EXPECT_EQ(log.CountRows("Warning", "Sound \"Missing\""), 1);
    EXPECT_EQ(log.CountRows("Warning", "Music \"JunkMusic\""), 1);

    // Every track of a name plays; plays of a name without a track do nothing.
    for (const char* name : {"Beep", "Missing", "OggBeep"}) m_audio->PlaySound(name);
    m_audio->PlayMusic("MissingMusic", true);
    EXPECT_EQ(m_audio->GetSoundPlayCount("Beep"), 2);
    EXPECT_EQ(m_audio->GetSoundPlayCount("Missing"), 0);
    EXPECT_EQ(m_audio->GetSoundPlayCount("OggBeep"), 0);
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "");

    m_audio->RemoveSound("Beep");
    m_audio->RemoveMusic("music1");
    m_audio->PlaySound("Beep");
    EXPECT_EQ(m_audio->GetSoundPlayCount("Beep"), 2) << "both tracks of the name are gone";
    EXPECT_EQ(m_audio->FindMusic("music1"), nullptr);
    EXPECT_EQ(CTrack::GetLiveCount(), m_liveBefore);
}

TEST_F(AudioManagerTest, SoundPlayedTwiceRestartsOnItsOwnChannel) {
    ASSERT_TRUE(m_audio->LoadSound("Beep", m_wav));
    ASSERT_TRUE(m_audio->LoadSound("Click", m_wav));

    m_audio->PlaySound("Beep");
    m_audio->PlaySound("Beep");
    EXPECT_EQ(m_audio->GetSoundPlayCount("Beep"), 2);
    EXPECT_EQ(Mix_Playing(-1), 1) << "the second play restarts the first instead of overlapping it";

    m_audio->PlaySound("Click");
    EXPECT_EQ(Mix_Playing(-1), 2) << "on a channel of its own";
}

TEST_F(AudioManagerTest, SoundVolumeIsHeardAtTheNextPlay) {
    ASSERT_TRUE(m_audio->LoadSound("Beep", m_wav));
    m_audio->SetSoundVolume(0.5f);
    m_audio->PlaySound("Beep");
    const int channel = PlayingChannel();
    ASSERT_GE(channel, 0);
    EXPECT_EQ(Mix_Volume(channel, -1), 64);

    m_audio->SetSoundVolume(0.25f);
    EXPECT_EQ(Mix_Volume(channel, -1), 64) << "a sound already playing keeps its volume";
    m_audio->PlaySound("Beep");
    EXPECT_EQ(Mix_Volume(channel, -1), 32);

    // A sound registered later starts at the present sound volume.
    ASSERT_TRUE(m_audio->LoadSound("Late", m_wav));
    Mix_HaltChannel(-1);
    m_audio->PlaySound("Late");
    ASSERT_GE(PlayingChannel(), 0);
    EXPECT_EQ(Mix_Volume(PlayingChannel(), -1), 32);
}

TEST_F(AudioManagerTest, CrossFadeTakesTheOldPieceDownWhileTheNewRises) {
    ASSERT_TRUE(m_audio->LoadMusic("music1", m_ogg));
    ASSERT_TRUE(m_audio->LoadMusic("music2", m_ogg));
    EXPECT_FLOAT_EQ(m_audio->GetMusicVolume(), 0.8f);

    m_audio->PlayMusic("music1", true);
    EXPECT_TRUE(Playing("music1"));
    EXPECT_FLOAT_EQ(Volume("music1"), 0.0f);
    Run(1.0f);
    EXPECT_NEAR(Volume("music1"), 0.2f, 1e-3);
    Run(3.5f);
    EXPECT_FLOAT_EQ(Volume("music1"), 0.8f);  // capped at the music volume

    m_audio->PlayMusic("music2", true);
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "music2");
    float previousOld = Volume("music1");
    float previousNew = Volume("music2");
    int frames = 0;
    while (Playing("music1") && frames < 5 * 300) {
        m_audio->Update(kDt);
        ++frames;
        const float oldVolume = Volume("music1");
        const float newVolume = Volume("music2");
        EXPECT_LE(oldVolume, previousOld);
        EXPECT_NEAR(newVolume - previousNew, std::min(0.2f * kDt, 0.8f - previousNew), 1e-5);
        previousOld = oldVolume;
        previousNew = newVolume;
    }
    EXPECT_FALSE(Playing("music1")) << "the old piece stops within five seconds";
    EXPECT_FLOAT_EQ(Volume("music1"), 0.0f);
    EXPECT_NEAR(frames, 4 * 300, 3);  // 0.8 at 0.2 per second
    EXPECT_NEAR(Volume("music2"), 0.8f, 1e-3);
}

TEST_F(AudioManagerTest, ReplayingAFadingPieceTurnsItRound) {
    ASSERT_TRUE(m_audio->LoadMusic("music1", m_ogg));
    ASSERT_TRUE(m_audio->LoadMusic("music2", m_ogg));
    m_audio->PlayMusic("music1", true);
    Run(4.5f);
    m_audio->PlayMusic("music2", true);
    Run(1.0f);
    EXPECT_NEAR(Volume("music1"), 0.6f, 1e-3);

    m_audio->PlayMusic("music1", true);
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "music1");
    EXPECT_TRUE(Playing("music1"));
    EXPECT_NEAR(Volume("music1"), 0.6f, 1e-3) << "not restarted from silence";
    Run(0.5f);
    EXPECT_NEAR(Volume("music1"), 0.7f, 1e-3);
    EXPECT_NEAR(Volume("music2"), 0.1f, 1e-3);

    // Playing the current piece again keeps it as it is.
    m_audio->PlayMusic("music1", true);
    Run(0.25f);
    EXPECT_NEAR(Volume("music1"), 0.75f, 1e-3) << "still rising";

    // Once silent and stopped, a piece is started again.
    Run(0.75f);
    EXPECT_FALSE(Playing("music2"));
    m_audio->PlayMusic("music2", true);
    EXPECT_TRUE(Playing("music2"));
    EXPECT_FLOAT_EQ(Volume("music2"), 0.0f);
}

TEST_F(AudioManagerTest, StopAndVolumeChangesFollowTheSmoothFlag) {
    ASSERT_TRUE(m_audio->LoadMusic("music1", m_ogg));
    ASSERT_TRUE(m_audio->LoadMusic("music2", m_ogg));
    m_audio->PlayMusic("music1", false);
    m_audio->Update(kDt);
    EXPECT_FLOAT_EQ(Volume("music1"), 0.8f);  // not smooth: at once

    m_audio->SetMusicVolume(0.5f, true);
    m_audio->Update(kDt);
    EXPECT_FLOAT_EQ(Volume("music1"), 0.5f) << "a lower volume drops at once";
    m_audio->SetMusicVolume(0.9f, true);
    Run(1.0f);
    EXPECT_NEAR(Volume("music1"), 0.7f, 1e-3) << "a higher volume rises by 0.2 per second";
    Run(2.0f);
    EXPECT_FLOAT_EQ(Volume("music1"), 0.9f);

    // Stopping a piece that is not the current one leaves the current one.
    m_audio->PlayMusic("music2", false);
    m_audio->Update(kDt);
    m_audio->StopMusic("music1", false);
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "music2");

    m_audio->StopMusic("music2", false);
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "");
    EXPECT_TRUE(Playing("music2"));
    m_audio->Update(kDt);
    EXPECT_FALSE(Playing("music2")) << "silenced and stopped at the next update";
    EXPECT_FLOAT_EQ(Volume("music2"), 0.0f);

    // Removing the current piece leaves no current piece behind.
    m_audio->PlayMusic("music1", true);
    m_audio->RemoveMusic("music1");
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "");
    m_audio->PlayMusic("music2", true);  // must not touch the removed piece
    EXPECT_EQ(m_audio->GetCurrentMusicName(), "music2");
}

TEST_F(AudioManagerTest, MixesSeveralPiecesAtTheirOwnVolumes) {
    ASSERT_TRUE(m_audio->LoadMusic("music1", m_ogg));
    ASSERT_TRUE(m_audio->LoadMusic("music2", m_ogg));
    std::vector<uint8_t> buffer(4096, 0);
    m_audio->MixMusic(buffer.data(), static_cast<int>(buffer.size()));
    for (uint8_t b : buffer) ASSERT_EQ(b, 0) << "nothing plays: the buffer is left alone";

    m_audio->PlayMusic("music1", false);
    m_audio->Update(kDt);
    m_audio->PlayMusic("music2", true);  // music1 fades out while music2 rises
    Run(0.5f);
    EXPECT_TRUE(Playing("music1"));
    EXPECT_TRUE(Playing("music2"));
    EXPECT_NEAR(Volume("music1"), 0.7f, 1e-3);
    EXPECT_NEAR(Volume("music2"), 0.1f, 1e-3);
    m_audio->MixMusic(buffer.data(), static_cast<int>(buffer.size()));
    m_audio->MixMusic(buffer.data(), static_cast<int>(buffer.size()));
    int nonZero = 0;
    for (uint8_t b : buffer) nonZero += b != 0;
    EXPECT_GT(nonZero, 100);
}

TEST(AudioManagerDevice, WithoutADeviceEveryOperationDoesNothing) {
    HtmlLogCapture log;
    TempDir folder;
    const std::string wav = Put(folder, "beep.wav", audio_test::MakeWav());
    const int liveBefore = CTrack::GetLiveCount();
    {
        CAudioManager audio;
        {
            ScopedEnv noDriver("SDL_AUDIODRIVER", "no-such-driver");
            EXPECT_FALSE(audio.OpenDevice());
        }
        EXPECT_EQ(log.CountRows("Warning", "No audio"), 1);

        EXPECT_FALSE(audio.LoadSound("Beep", wav));
        EXPECT_FALSE(audio.LoadMusic("music1", audio_test::OggFixturePath()));
        audio.PlaySound("Beep");
        audio.PlayMusic("music1", true);
        audio.StopMusic("music1", true);
        audio.Update(1.0f);
        audio.RemoveSound("Beep");
        EXPECT_EQ(audio.GetSoundPlayCount("Beep"), 0);
        EXPECT_EQ(audio.GetCurrentMusicName(), "");
        EXPECT_EQ(CTrack::GetLiveCount(), liveBefore);

        // The volumes are kept, so that the options screen writes back what the
        // player chose.
        audio.SetSoundVolume(0.3f);
        audio.SetMusicVolume(0.4f, true);
        EXPECT_FLOAT_EQ(audio.GetSoundVolume(), 0.3f);
        EXPECT_FLOAT_EQ(audio.GetMusicVolume(), 0.4f);
    }
    EXPECT_EQ(CTrack::GetLiveCount(), liveBefore);
}

TEST(AudioManagerDevice, OneManagerHoldsTheDeviceAtATime) {
    CAudioManager first;
    ASSERT_TRUE(first.OpenDevice());
    EXPECT_TRUE(first.OpenDevice());  // a second open of the same manager
    {
        CAudioManager second;
        EXPECT_FALSE(second.OpenDevice());
    }
    EXPECT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the first keeps the device open";
}

TEST(AudioManagerDevice, VolumesAreClampedAndLiveCountReturnsToZero) {
    const int liveBefore = CTrack::GetLiveCount();
    TempDir folder;
    const std::string wav = Put(folder, "beep.wav", audio_test::MakeWav());
    {
        CAudioManager audio;
        ASSERT_TRUE(audio.OpenDevice());
        audio.SetSoundVolume(1.5f);
        audio.SetMusicVolume(-2.0f, true);
        EXPECT_FLOAT_EQ(audio.GetSoundVolume(), 1.0f);
        EXPECT_FLOAT_EQ(audio.GetMusicVolume(), 0.0f);
        for (int i = 0; i < 40; ++i) ASSERT_TRUE(audio.LoadSound("S" + std::to_string(i), wav));
        ASSERT_TRUE(audio.LoadMusic("music1", audio_test::OggFixturePath()));
        audio.PlaySound("S39");  // channels grow beyond the first set
        audio.PlayMusic("music1", true);
        EXPECT_EQ(CTrack::GetLiveCount(), liveBefore + 41);
    }
    EXPECT_EQ(CTrack::GetLiveCount(), liveBefore);
}
