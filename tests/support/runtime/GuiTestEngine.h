// A headless engine for the GUI and screen tests: the real engine interface
// (headless backend, frames driven from code, injected input), an entity
// manager, and on request the resource manager over the game's resource
// script, the audio manager with a few event sounds, a text table and the
// registry fonts. Derived engines add services of their own through the
// protected Use... calls.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/AudioManager.h"
#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/StringManager.h"
#include "engine/XMLDocument.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "platform/RenderStats.h"
#include "support/runtime/GuiJournal.h"
#include "support/TempDir.h"

struct GuiTestOptions {
    float dt = 0.1f;               // time step of every frame
    bool resources = false;        // resource manager over data\Resource\main.res
    bool audio = false;            // audio manager with "OnWindow", "MouseOver", "OnButtonPress"
    bool fonts = false;            // registry font "Main" (and "Comics")
    std::string textTable;         // text table content (empty: no string manager)
    bool settleBeforeClick = false;  // Click runs a frame between moving and pressing
};

class GuiTestEngine : public ZOLTFramework::CEngine {
public:
    explicit GuiTestEngine(const GuiTestOptions& options = GuiTestOptions());
    ~GuiTestEngine() override;

    EntityManager& Manager() { return *m_pEntityManager; }
    HGE* Hge() { return m_pHGE; }
    const TempDir& Dir() const { return m_dir; }
    // True when the audio device was opened for the event sounds.
    bool HasAudioDevice() const { return m_audioDevice; }

    // One engine frame (frame and render callbacks) with the input given so far.
    void Step(int frames = 1);
    void MoveMouse(float mx, float my);
    void KeyDown(int key);
    void KeyUp(int key);
    // Down in the next frame, up in the one after.
    void Press(int key);
    // Mouse to (mx, my), then one frame with the left button going down and one
    // with it coming up.
    void Click(float mx, float my);
    // Clicks the middle of an entity's hit rectangle.
    void ClickEntity(const ZOLTFramework::CEntity* entity);
    // Types the characters, one a frame, and runs the frames.
    void Type(const std::string& text);

    // The top of the screen stack, or null.
    ZOLTFramework::CEntity* Top() const;
    // The live entities of the manager whose name is that (screens, mostly).
    std::vector<ZOLTFramework::CEntity*> Named(const std::string& entityName) const;

    // The root element of an XML text (written to a file and loaded); empty
    // when it does not load.
    RefPtr<XMLDocument::XMLElement> LoadLayout(const std::string& xml);

    // The string table's holder is created on demand for tests that need it.
    void SetTextTable(const std::string& content);

protected:
    struct FontFile {
        const char* name;
        const char* file;
    };
    void UseResources();
    // An audio manager; with the device opened and the event sounds loaded
    // when eventSounds is set (without a device the volumes are kept all the
    // same, and the tests stay fast).
    void UseAudio(bool eventSounds);
    void UseTextFile(const char* file);
    void UseFonts(std::initializer_list<FontFile> fonts);
    // Entities go before the services they may still reach.
    void DeleteEntities();

private:
    ScopedEnv m_headless;
    ScopedEnv m_dt;
    TempDir m_dir;
    bool m_settleBeforeClick;
    bool m_audioDevice = false;
};
