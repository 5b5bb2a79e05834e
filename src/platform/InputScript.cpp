#include "platform/InputScript.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

namespace {

bool ParseInt(const std::string& s, long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtol(s.c_str(), &end, 10);
    return *end == 0;
}

bool ParseFloat(const std::string& s, float& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = float(std::strtod(s.c_str(), &end));
    return *end == 0;
}

}  // namespace

void InputScript::Add(int frame, const InputEvent& ev) {
    if (ev.kind == InputEvent::Press) {
        InputEvent down = ev, up = ev;
        down.kind = InputEvent::Down;
        up.kind = InputEvent::Up;
        m_events[frame].push_back(down);
        m_events[frame + 1].push_back(up);
    } else {
        m_events[frame].push_back(ev);
    }
}

std::vector<InputEvent> InputScript::Take(int frame) {
    std::vector<InputEvent> out;
    auto it = m_events.find(frame);
    if (it == m_events.end()) return out;
    out.swap(it->second);
    m_events.erase(it);
    return out;
}

int InputScript::Parse(const std::string& text, const std::string& source) {
    int skipped = 0;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t hash = line.find('#');
        std::string body = hash == std::string::npos ? line : line.substr(0, hash);
        std::istringstream words(body);
        std::string frameText, kind;
        if (!(words >> frameText)) continue;  // blank or comment only
        words >> kind;

        long frame = 0;
        InputEvent ev;
        bool ok = ParseInt(frameText, frame) && frame >= 1 && frame < 0x7FFFFFF0;
        std::string a, b, extra;
        if (ok && (kind == "move")) {
            ev.kind = InputEvent::Move;
            ok = (words >> a >> b) && ParseFloat(a, ev.x) && ParseFloat(b, ev.y) && !(words >> extra);
        } else if (ok && (kind == "down" || kind == "up" || kind == "press")) {
            ev.kind = kind == "down" ? InputEvent::Down : kind == "up" ? InputEvent::Up : InputEvent::Press;
            long key = 0;
            ok = (words >> a) && ParseInt(a, key) && key > 0 && key < 256 && !(words >> extra);
            ev.key = int(key);
        } else if (ok && kind == "char") {
            ev.kind = InputEvent::Char;
            // Everything after "char " up to the comment, as typed.
            const size_t at = body.find("char");
            std::string t = body.substr(at + 4);
            if (!t.empty() && (t[0] == ' ' || t[0] == '\t')) t.erase(0, 1);
            while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
            // As from the keyboard: characters Windows-1250 lacks are refused.
            ev.text = TypedToCp1250(t);
            ok = !t.empty();
            if (ok && ev.text.empty()) continue;
        } else if (ok && (kind == "close" || kind == "snapshot")) {
            ev.kind = kind == "close" ? InputEvent::Close : InputEvent::Snapshot;
            ok = !(words >> extra);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "%s:%d: skipping malformed line \"%s\"\n", source.c_str(), lineNo, line.c_str());
            ++skipped;
            continue;
        }
        Add(int(frame), ev);
    }
    return skipped;
}

bool InputScript::LoadFile(const std::string& path) {
    std::string text;
    if (!FileSystem::ReadFile(path, text)) {
        std::fprintf(stderr, "Input script \"%s\" cannot be read\n", path.c_str());
        return false;
    }
    Parse(text, path);
    return true;
}
