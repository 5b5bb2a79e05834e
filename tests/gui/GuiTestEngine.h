// A headless engine for the GUI tests: the real engine interface (headless
// backend, frames driven from code, injected input), an entity manager, and on
// request the resource manager over the game's resource script, the audio
// manager with a few event sounds, the text table and the registry fonts.
#pragma once

#include <string>
#include <vector>

#include "engine/AudioManager.h"
#include "engine/CEngine.h"
#include "engine/EntityManager.h"
#include "engine/StringManager.h"
#include "engine/XMLDocument.h"
#include "entities/CGUIEntity.h"
#include "entities/Listeners.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "platform/RenderStats.h"
#include "support/TempDir.h"

struct GuiTestOptions {
    float dt = 0.1f;             // time step of every frame
    bool resources = false;      // resource manager over data\Resource\main.res
    bool audio = false;          // audio manager with "OnWindow", "MouseOver", "OnButtonPress"
    bool fonts = false;          // registry font "Main" (and "Comics")
    std::string textTable;       // text table content (empty: no string manager)
};

class GuiTestEngine : public ZOLTFramework::CEngine {
public:
    explicit GuiTestEngine(const GuiTestOptions& options = GuiTestOptions());
    ~GuiTestEngine() override;

    EntityManager& Manager() { return *m_pEntityManager; }
    HGE* Hge() { return m_pHGE; }
    const TempDir& Dir() const { return m_dir; }

    // One engine frame (frame and render callbacks) with the input given so far.
    void Step(int frames = 1) { FrameDriver::RunFrames(frames); }
    void MoveMouse(float mx, float my);
    void KeyDown(int key);
    void KeyUp(int key);
    // Down in the next frame, up in the one after.
    void Press(int key);
    // Mouse to (mx, my), then one frame with the left button going down and one
    // with it coming up.
    void Click(float mx, float my);

    // The root element of an XML text (written to a file and loaded); empty
    // when it does not load.
    RefPtr<XMLDocument::XMLElement> LoadLayout(const std::string& xml);

    // The string table's holder is created on demand for tests that need it.
    void SetTextTable(const std::string& content);

private:
    ScopedEnv m_headless;
    ScopedEnv m_dt;
    TempDir m_dir;
};

// A button listener that writes every event into a journal ("press:name").
class JournalListener : public ZOLTFramework::CButtonListener {
public:
    void OnButtonPress(const std::string& n) override { events.push_back("press:" + n); }
    void OnButtonRelease(const std::string& n) override { events.push_back("release:" + n); }
    void OnButtonOver(const std::string& n) override { events.push_back("over:" + n); }
    void OnButtonLeave(const std::string& n) override { events.push_back("leave:" + n); }
    int Count(const std::string& event) const;
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

// How often the journal holds the entry.
int CountOf(const std::vector<std::string>& journal, const std::string& entry);
