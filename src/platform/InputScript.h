// An input script: one event a line, "<frame> <kind> <args>", "#" starts a
// comment, frames counted from 1, several lines may name the same frame and
// apply in file order. Kinds: move x y, down key, up key, press key (down in the
// frame, up in the next), char text, close, snapshot. Unknown or malformed lines
// are reported once on standard error and skipped.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/InputEvent.h"

class InputScript {
public:
    // Parses the text; the source name appears in the reports. Returns the
    // number of lines skipped.
    int Parse(const std::string& text, const std::string& source = "input script");
    bool LoadFile(const std::string& path);

    // Adds an event at a frame (Press is split into Down now, Up next frame).
    void Add(int frame, const InputEvent& ev);
    // The events of one frame in order, removed from the script.
    std::vector<InputEvent> Take(int frame);
    int LastFrame() const { return m_events.empty() ? 0 : m_events.rbegin()->first; }

private:
    std::map<int, std::vector<InputEvent>> m_events;
};
