#include "profiles/SaveSlots.h"

#include <vector>

#include "engine/Conversions.h"
#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

namespace SaveSlots {

std::string SlotPath(const std::string& saveFolder, int index) {
    return saveFolder + "data\\Map\\" + ValueToString(index + 1) + ".xml";
}

std::string Normalise(const std::string& path) {
    std::string full = path;
    MakeAbsolutePath(full);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t slash = full.find('/', start);
        if (slash == std::string::npos) slash = full.size();
        const std::string part = full.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? std::string("/") : out;
}

int IndexOf(const std::string& saveFolder, const std::string& path) {
    if (path.empty()) return -1;
    const std::string wanted = Normalise(path);
    for (int i = 0; i < kSlotCount; ++i) {
        if (Normalise(SlotPath(saveFolder, i)) == wanted) return i;
    }
    return -1;
}

int IndexOfTail(const std::string& path, std::string* root) {
    // "data" sep "Map" sep digit ".xml": 14 characters.
    const size_t kTail = 14;
    if (path.size() < kTail) return -1;
    const size_t at = path.size() - kTail;
    auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    const std::string tail = path.substr(at);
    if (tail.compare(0, 4, "data") != 0 || !isSeparator(tail[4]) || tail.compare(5, 3, "Map") != 0 ||
        !isSeparator(tail[8]) || tail.compare(10, 4, ".xml") != 0)
        return -1;
    const char digit = tail[9];
    if (digit < '1' || digit > '0' + kSlotCount) return -1;
    // The tail starts a path component: "mydata/Map/1.xml" is no slot.
    if (at > 0 && !isSeparator(path[at - 1])) return -1;
    if (root) *root = path.substr(0, at);
    return digit - '1';
}

bool KeepAside(const std::string& path) {
    const std::string from = FileSystem::ResolvePath(Normalise(path));
    const std::string to = from + ".bad";
    if (FileSystem::FileExists(to)) FileSystem::RemoveFile(to);
    if (FileSystem::RenameFile(from, to)) return true;
    HtmlLog::Instance()->Error("Cannot keep " + HtmlLog::Shown(from) + " aside as " + HtmlLog::Shown(to));
    return false;
}

bool CopyAside(const std::string& path) {
    const std::string from = FileSystem::ResolvePath(Normalise(path));
    std::string bytes;
    if (FileSystem::ReadFile(from, bytes) && FileSystem::WriteFileAtomic(from + ".bad", bytes)) return true;
    HtmlLog::Instance()->Error("Cannot copy " + HtmlLog::Shown(from) + " aside as " + HtmlLog::Shown(from) + ".bad");
    return false;
}

}  // namespace SaveSlots
