// The bundled sounds and music: every file the start-up registers decodes as
// Ogg Vorbis, sounds are short and music pieces last several seconds.
#include <gtest/gtest.h>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "ContentFiles.h"

namespace {

// Length in seconds, or -1 when the file does not open as Ogg Vorbis.
float OggSeconds(const std::string& path) {
    std::string bytes;
    if (!contenttest::ReadAll(path, bytes)) return -1;
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_memory(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()),
                                           &error, nullptr);
    if (!v) return -1;
    float seconds = stb_vorbis_stream_length_in_seconds(v);
    stb_vorbis_close(v);
    return seconds;
}

TEST(SoundFiles, EventSoundsAreShortOggFiles) {
    const char* const names[] = {
        "OnButtonPress", "MouseOver", "FlagStuck", "OnEmptyPlaceClicked", "OnScoreCount", "OnWinMiniGame",
        "OnMiniGameSkip", "OnMiniGameSolveLater", "OnRewarding", "OnInventoryOpen", "OnToolUsed", "OnObjectClick",
        "OnTitleLetterAppear", "OnWindow", "Phonering", "OnComicsStart", "OnCharAppear", "OnCharCame",
        "OnFlyingIn", "OnMagnifyingGlassAppear", "OnInventoryObjectAdded", "OnTimePenalty", "OnTimeOut",
        "OnCriticalTime", "OnSalute", "OnKiss", "BrickOpn", "BrickDes", "kuku_1", "telek", "globus", "igrushka", "posuda",
        "ventilyator", "zmeya"};
    int count = 0;
    for (const char* name : names) {
        float s = OggSeconds(std::string("data/Sound/") + name + ".ogg");
        EXPECT_GT(s, 0.0f) << name;
        EXPECT_LT(s, 3.0f) << name;
        ++count;
    }
    EXPECT_EQ(count, 35);
}

TEST(SoundFiles, MusicPiecesLastSeveralSeconds) {
    for (const char* path : {"data/Music/music_1.ogg", "data/Music/music_2.ogg", "data/Music/music_3.ogg",
                             "data/Sound/OnFinal.ogg"}) {
        float s = OggSeconds(path);
        EXPECT_GE(s, 8.0f) << path;
        EXPECT_LE(s, 15.0f) << path;
    }
}

}  // namespace
