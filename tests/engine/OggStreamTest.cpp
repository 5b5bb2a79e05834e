#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/OggStream.h"
#include "AudioFixtures.h"

using ZOLTFramework::OggStream;

namespace {

std::unique_ptr<OggStream> OpenFixture() {
    std::string bytes = audio_test::ReadBytes(audio_test::OggFixturePath());
    return OggStream::Open(bytes, 44100, 2);
}

double Energy(const std::vector<float>& v, size_t from = 0, size_t to = std::string::npos) {
    double sum = 0;
    to = std::min(to, v.size());
    for (size_t i = from; i < to; ++i) sum += std::fabs(v[i]);
    return sum;
}

}  // namespace

TEST(OggStream, RejectsWhatIsNotOggVorbis) {
    std::string error;
    EXPECT_EQ(OggStream::Open("", 44100, 2, &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(OggStream::Open(audio_test::MakeWav(), 44100, 2, &error), nullptr);
    std::string truncated = audio_test::ReadBytes(audio_test::OggFixturePath()).substr(0, 40);
    EXPECT_EQ(OggStream::Open(truncated, 44100, 2, &error), nullptr);
}

TEST(OggStream, MixesOnlyWhilePlayingAndScalesByVolume) {
    auto s = OpenFixture();
    ASSERT_NE(s, nullptr);
    std::vector<float> buf(2048 * 2, 0.0f);

    s->MixInto(buf.data(), 2048);  // not playing yet
    EXPECT_EQ(Energy(buf), 0.0);

    s->SetVolume(1.0f);
    s->Play();
    s->MixInto(buf.data(), 2048);
    const double loud = Energy(buf, 2048);  // second half: past the glide
    EXPECT_GT(loud, 10.0);

    std::vector<float> quiet(2048 * 2, 0.0f);
    s->SetVolume(0.25f);
    s->MixInto(quiet.data(), 2048);  // glides from 1 to 0.25
    std::fill(quiet.begin(), quiet.end(), 0.0f);
    s->MixInto(quiet.data(), 2048);
    EXPECT_NEAR(Energy(quiet, 2048) / loud, 0.25, 0.08);

    std::vector<float> silent(2048 * 2, 0.0f);
    s->SetVolume(0.0f);
    s->MixInto(silent.data(), 2048);
    std::fill(silent.begin(), silent.end(), 0.0f);
    s->MixInto(silent.data(), 2048);
    EXPECT_EQ(Energy(silent), 0.0);
}

TEST(OggStream, KeepsVolumesExactlyAndClamped) {
    auto s = OpenFixture();
    ASSERT_NE(s, nullptr);
    s->SetVolume(0.0007f);  // below any integer mixer step
    EXPECT_FLOAT_EQ(s->GetVolume(), 0.0007f);
    s->SetVolume(3.0f);
    EXPECT_FLOAT_EQ(s->GetVolume(), 1.0f);
    s->SetVolume(-1.0f);
    EXPECT_FLOAT_EQ(s->GetVolume(), 0.0f);
    s->SetVolume(std::nanf(""));
    EXPECT_FLOAT_EQ(s->GetVolume(), 0.0f);
}

TEST(OggStream, EndsWithoutRepeatAndWrapsWithRepeat) {
    // The piece lasts 0.5 s: 22050 frames at the output rate.
    const int frames = 44100;  // one second
    {
        auto s = OpenFixture();
        ASSERT_NE(s, nullptr);
        s->SetVolume(1.0f);
        s->Play();
        std::vector<float> buf(static_cast<size_t>(frames) * 2, 0.0f);
        s->MixInto(buf.data(), frames);
        EXPECT_FALSE(s->IsPlaying());
        // The whole piece, then silence.
        EXPECT_GT(Energy(buf, 2 * 21500, 2 * 21900), 0.0) << "the tail of the piece is heard";
        EXPECT_EQ(Energy(buf, 2 * 24200), 0.0);  // silence after the end
    }
    {
        auto s = OpenFixture();
        ASSERT_NE(s, nullptr);
        s->SetVolume(1.0f);
        s->SetRepeat(true);
        s->Play();
        std::vector<float> buf(static_cast<size_t>(frames) * 2, 0.0f);
        s->MixInto(buf.data(), frames);
        EXPECT_TRUE(s->IsPlaying());
        EXPECT_GT(Energy(buf, 2 * 26000, 2 * 40000), 10.0);  // the second round sounds
    }
}

TEST(OggStream, PlayResumesAfterStop) {
    auto s = OpenFixture();
    ASSERT_NE(s, nullptr);
    s->Play();
    s->Play();  // already playing: nothing
    std::vector<float> buf(1000 * 2, 0.0f);
    s->MixInto(buf.data(), 1000);
    s->Stop();
    EXPECT_FALSE(s->IsPlaying());
    std::fill(buf.begin(), buf.end(), 0.0f);
    s->MixInto(buf.data(), 1000);
    EXPECT_EQ(Energy(buf), 0.0) << "a stopped stream adds nothing";
    s->Play();
    s->MixInto(buf.data(), 1000);
    EXPECT_GT(Energy(buf), 0.0);
}
