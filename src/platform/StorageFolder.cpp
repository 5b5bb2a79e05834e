#include "platform/StorageFolder.h"

#include <SDL.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/FileSystem.h"

namespace {

const char* const kSubFolders[] = {"Orvelworks", "Drovalin"};
const char* const kMessage = "Unable to find suitable folder to save data";
const char* const kCaption = "Storage path error";

}  // namespace

void ReportNoStorageFolder() {
    const char* headless = std::getenv("DROVALIN_HEADLESS");
    const bool quiet = headless && *headless && std::strcmp(headless, "0") != 0;
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

std::string FindStorageFolder() {
    std::string path = DataHomeFolder();
    bool ok = !path.empty() && FileSystem::MakeDirectories(path);
    for (const char* level : kSubFolders) {
        if (!ok) break;
        path += level;
        path += '/';
        if (::mkdir(path.c_str(), 0755) != 0) {
            struct stat st;
            ok = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
    }
    if (ok && TestWritable(path)) return path;
    ReportNoStorageFolder();
    return "";
}
