#include "SnapshotPicture.h"

#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/ImageCodec.h"

bool LoadPng(const std::string& path, Picture& pic, std::string* reason) {
    std::string data, why;
    if (!FileSystem::ReadFile(path, data)) why = "cannot read " + path;
    else if (ImageCodec::Decode(data.data(), data.size(), pic.w, pic.h, pic.px, why)) return true;
    if (reason) *reason = why;
    return false;
}

bool HasDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}
