#include "platform/StorageFolder.h"

#include <SDL.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/PlatformEnv.h"

namespace {

const char* const kMessage = "Unable to find suitable folder to save data";
const char* const kCaption = "Storage path error";

}  // namespace

void ReportNoStorageFolder() {
    const bool quiet = PlatformEnv::Current().headless;
    if (!quiet && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, kCaption, kMessage, nullptr) == 0) return;
    std::fprintf(stderr, "%s: %s\n", kCaption, kMessage);
}

std::string DataHomeFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') {
        std::string base = xdg;
        if (base.back() != '/') base += '/';
        return base;
    }
    const char* home = std::getenv("HOME");
    std::string h = (home && *home) ? home : "";
    if (h.empty())
        if (const struct passwd* pw = ::getpwuid(::getuid()))
            if (pw->pw_dir) h = pw->pw_dir;
    if (h.empty()) return "";
    if (h.back() != '/') h += '/';
    return h + ".local/share/";
}

bool TestWritable(const std::string& folder) {
    const std::string name = folder + "writetest.dat";
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite("12345", 1, 5, f) == 5;
    const bool closed = std::fclose(f) == 0;
    const bool removed = std::remove(name.c_str()) == 0;
    return written && closed && removed;
}
