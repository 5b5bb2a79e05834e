#include "platform/SysInfo.h"

#include <SDL.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/PlatformEnv.h"

namespace SysInfo {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '"')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '"' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

// "key<sep>value" lines of a text file; the first occurrence of a key wins.
std::map<std::string, std::string> ReadKeyValues(const char* path, char sep) {
    std::map<std::string, std::string> out;
    std::string text;
    if (!FileSystem::ReadFile(path, text)) return out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t at = line.find(sep);
        if (at == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, at));
        if (!out.count(key)) out[key] = Trim(line.substr(at + 1));
    }
    return out;
}


}  // namespace

std::string GetComputerName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return "";
    return buf;
}

std::string GetOSVersion() {
    std::string text;
    auto release = ReadKeyValues("/etc/os-release", '=');
    if (release.count("PRETTY_NAME")) text = release["PRETTY_NAME"];
    struct utsname u;
    if (::uname(&u) == 0) {
        if (!text.empty()) text += ", ";
        text += std::string(u.sysname) + " " + u.release + " " + u.machine;
    }
    return text.empty() ? "Unknown" : text;
}

std::string GetLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return v;
    }
    return "C";
}

std::string GetCPU() {
    auto cpu = ReadKeyValues("/proc/cpuinfo", ':');
    const std::string vendor = cpu.count("vendor_id") ? cpu["vendor_id"] : "";
    std::string model = cpu.count("model name") ? cpu["model name"] : "";
    if (model.empty() && cpu.count("Model")) model = cpu["Model"];
    if (vendor.empty() && model.empty()) return "";
    const int mhz = cpu.count("cpu MHz") ? int(std::atof(cpu["cpu MHz"].c_str()) + 0.5) : 0;
    return vendor + ", " + model + ", ~" + std::to_string(mhz) + " Mhz";
}

std::string GetVideoInfo() {
    if (PlatformEnv::Current().headless) return "";
    const bool wasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!wasUp && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return "";
    std::string text;
    if (const char* driver = SDL_GetCurrentVideoDriver()) text = driver;
    if (SDL_GetNumVideoDisplays() > 0) {
        SDL_DisplayMode mode;
        const char* name = SDL_GetDisplayName(0);
        text += std::string(", display: ") + (name ? name : "unknown");
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            char buf[96];
            std::snprintf(buf, sizeof buf, ", %dx%d, %d Hz", mode.w, mode.h, mode.refresh_rate);
            text += buf;
        }
    }
    if (!wasUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return text;
}

std::string FormatMemoryStatus(double physTotal, double physAvail, double virtTotal, double virtAvail) {
    const double mb = 1048576.0;
    char buf[256];
    std::snprintf(buf, sizeof buf, "physical %.1f mb (available %.1f mb), virtual %.1f mb (available %.1f mb)",
                  physTotal / mb, physAvail / mb, virtTotal / mb, virtAvail / mb);
    return buf;
}

std::string GetMemoryStatus() {
    auto info = ReadKeyValues("/proc/meminfo", ':');
    auto kb = [&info](const char* key) -> double {
        return info.count(key) ? std::atof(info[key].c_str()) * 1024.0 : 0.0;
    };
    const double total = kb("MemTotal");
    const double avail = info.count("MemAvailable") ? kb("MemAvailable") : kb("MemFree");
    const double swap = kb("SwapTotal"), swapFree = kb("SwapFree");
    return FormatMemoryStatus(total, avail, total + swap, avail + swapFree);
}

}  // namespace SysInfo
