// The settings file, which players edit by hand: any bytes must read without a
// fault, and a key written must read back as written while the other keys keep
// their values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine();
    IniFile ini;
    ini.SetPath(FuzzFile("app.ini", data, size));

    const char* sections[] = {"HGE", "GAME", "hge", ""};
    const char* keys[] = {"Windowed", "MusicVolume", "SoundVolume", "Language", ""};
    for (const char* s : sections)
        for (const char* k : keys) {
            std::string v;
            (void)ini.Get(s, k, v);
            (void)ini.GetInt(s, k, 7);
            (void)ini.GetFloat(s, k, 0.5f);
        }

    std::string musicBefore, languageBefore;
    const bool hadMusic = ini.Get("GAME", "MusicVolume", musicBefore);
    const bool hadLanguage = ini.Get("GAME", "Language", languageBefore);
    if (!ini.Set("HGE", "Windowed", "1")) return 0;
    std::string windowed, music, language;
    if (!ini.Get("HGE", "Windowed", windowed) || windowed != "1") std::abort();
    if (ini.GetInt("hge", "windowed", 0) != 1) std::abort();
    if (ini.Get("GAME", "MusicVolume", music) != hadMusic || music != musicBefore) std::abort();
    if (ini.Get("GAME", "Language", language) != hadLanguage || language != languageBefore) std::abort();
    return 0;
}
