// Journals for the GUI tests: a button listener and a probe entity that write
// what they receive as text entries.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "entities/widgets/CGUIEntity.h"
#include "entities/core/Listeners.h"

// How often the journal holds the entry.
inline int CountOf(const std::vector<std::string>& journal, const std::string& entry) {
    return int(std::count(journal.begin(), journal.end(), entry));
}

// A button listener that writes every event into a journal ("press:name").
class JournalListener : public ZOLTFramework::CButtonListener {
public:
    void OnButtonPress(const std::string& n) override { events.push_back("press:" + n); }
    void OnButtonRelease(const std::string& n) override { events.push_back("release:" + n); }
    void OnButtonOver(const std::string& n) override { events.push_back("over:" + n); }
    void OnButtonLeave(const std::string& n) override { events.push_back("leave:" + n); }
    int Count(const std::string& event) const { return CountOf(events, event); }
    std::vector<std::string> events;
};

// A GUI entity with a fixed rectangle that writes what it receives into a journal.
class ProbeEntity : public ZOLTFramework::CGUIEntity {
public:
    ProbeEntity(const std::string& probeName, std::vector<std::string>* journal) : m_journal(journal) {
        name = probeName;
    }
    void OnMouseOver(bool entered) override { Note(entered ? "over" : "leave"); }
    void OnLeftButton(bool down) override { Note(down ? "down" : "up"); }
    void OnRightButton(bool down) override { Note(down ? "rdown" : "rup"); }
    void Note(const std::string& what) {
        if (m_journal) m_journal->push_back(name + ":" + what);
    }

private:
    std::vector<std::string>* m_journal;
};
