// Sound files for the audio tests: a WAV made on the spot and the small Ogg
// piece kept with the tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace audio_test {

// A mono 16-bit WAV with a sine tone.
inline std::string MakeWav(double seconds = 0.5, int rate = 22050, double hz = 440.0) {
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    const uint32_t dataBytes = frames * 2;
    std::string out;
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&out](uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate) * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * M_PI * hz * i / rate) * 12000.0;
        u16(static_cast<uint16_t>(static_cast<int16_t>(s)));
    }
    return out;
}

// The path of the Ogg piece kept with the tests (0.5 s, mono, 22050 Hz).
inline std::string OggFixturePath() {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return std::string(source ? source : "..") + "/tests/fixtures/tone.ogg";
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace audio_test
