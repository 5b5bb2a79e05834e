// The game on the headless engine for the targets that fuzz the game's own
// readers: the real engine object with the entity manager, the game's
// resource script, fonts and English text table, an audio manager without a
// device, and one active player whose files go to the scratch folder. Created
// once and kept for the whole run.
//
// The game reads its data relative to the program folder, and each target is
// built into a folder of its own: there "data" mirrors the game's data folder
// entry by entry (symbolic links) except "data/Database", a folder of its own,
// so that a target may put its bytes where the game reads a fixed path
// ("data/Database/Actions.xml", ActionTablePath()).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "engine/AudioManager.h"
#include "engine/ScriptState.h"
#include "engine/StringManager.h"
#include "entities/core/EntityManager.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "platform/hge.h"
#include "profiles/PlayerManager.h"
#include "runtime/CEngine.h"

#ifndef DROVALIN_DATA_DIR
#define DROVALIN_DATA_DIR "data"
#endif

class FuzzGameEngine : public ZOLTFramework::CEngine {
public:
    static constexpr float kDt = 0.05f;

    FuzzGameEngine() {
        const std::string folder = FuzzFolder();
        MirrorData(FileSystem::ProgramDir());
        setenv("DROVALIN_HEADLESS", "1", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("DROVALIN_DT", "0.05", 1);
        m_pHGE = hgeCreate(HGE_VERSION);
        m_pHGE->System_SetState(HGE_USESOUND, false);
        m_pHGE->System_SetState(HGE_INIFILE, (folder + "app.ini").c_str());
        m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
        m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
        m_pHGE->System_Initiate();
        m_pEntityManager = new EntityManager();
        m_pResourceManager = new hgeResourceManager("data\\Resource\\main.res");
        m_pAudioManager = new ZOLTFramework::CAudioManager();
        m_pStringManager = new StringManager();
        m_pStringManager->SetTable(new hgeStringTable("data\\Text\\English.txt"));
        const char* const fonts[][2] = {{"Default", "data\\Font\\default.fnt"},
                                        {"Default14", "data\\Font\\default14.fnt"},
                                        {"Comics", "data\\Font\\comics.fnt"},
                                        {"Main", "data\\Font\\main.fnt"}};
        for (const auto& font : fonts) FontRegistry::Instance().LoadFont(font[0], font[1]);

        PlayerManager* players = PlayerManager::Instance();
        FileSystem::MakeDirectories(folder + "data/Map");
        players->SetSavePath(folder);
        players->SetUsersFile("data\\users.xml");
        players->Load();
        players->AddPlayer("Fuzz");
        players->SetActivePlayer("Fuzz");
    }

    EntityManager& Manager() { return *m_pEntityManager; }
    // Where the play field reads its action table.
    static std::string ActionTablePath() { return FileSystem::ProgramDir() + "data/Database/Actions.xml"; }
    Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

    void Frames(int n) { FrameDriver::RunFrames(n); }
    void Input(InputEvent::Kind kind, int key, float x = 0.0f, float y = 0.0f) {
        InputEvent ev;
        ev.kind = kind;
        ev.key = key;
        ev.x = x;
        ev.y = y;
        FrameDriver::Inject(ev);
    }
    void Click(float x, float y) {
        Input(InputEvent::Move, 0, x, y);
        Frames(1);
        Input(InputEvent::Down, HGEK_LBUTTON);
        Frames(1);
        Input(InputEvent::Up, HGEK_LBUTTON);
        Frames(1);
    }

    void Drag(float fromX, float fromY, float toX, float toY) {
        Input(InputEvent::Move, 0, fromX, fromY);
        Frames(1);
        Input(InputEvent::Down, HGEK_LBUTTON);
        Frames(1);
        Input(InputEvent::Move, 0, toX, toY);
        Frames(1);
        Input(InputEvent::Up, HGEK_LBUTTON);
        Frames(1);
    }

    // Takes every screen off the stack and kills it, with the pending calls
    // of the shared timer, and lets the manager delete them.
    void CloseAll() {
        const std::vector<ZOLTFramework::CEntity*> screens = m_pEntityManager->GetScreenStack();
        for (auto it = screens.rbegin(); it != screens.rend(); ++it) {
            (*it)->Kill();
            m_pEntityManager->RemoveScreen(*it);
        }
        Input(InputEvent::Up, HGEK_LBUTTON);
        Frames(2);
        PlayerManager::Instance()->Timer->Clear();
        // The script host frees the globals of gone objects only when it
        // collects; collect now, so that what one input leaves behind is a leak.
        if (lua_State* state = ScriptState::Instance()->GetState()) lua_gc(state, LUA_GCCOLLECT, 0);
    }

private:
    static void MirrorData(const std::string& folder) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path source = fs::absolute(DROVALIN_DATA_DIR, ec);
        fs::create_directories(fs::path(folder) / "data" / "Database", ec);
        for (const auto& entry : fs::directory_iterator(source, ec)) {
            const std::string name = entry.path().filename().string();
            if (name == "Database") continue;
            fs::create_symlink(entry.path(), fs::path(folder) / "data" / name, ec);
        }
        fs::copy_file(source / "Database" / "Actions.xml", fs::path(folder) / "data" / "Database" / "Actions.xml",
                      fs::copy_options::overwrite_existing, ec);
    }
};

inline FuzzGameEngine& FuzzGame() {
    static FuzzGameEngine* engine = new FuzzGameEngine();  // kept: the run ends with exit()
    return *engine;
}

// One input that holds two files: the part before the first line that reads
// exactly kFuzzSplit, and the part after it (empty when there is no such line).
constexpr const char* kFuzzSplit = "%%next-file%%";

inline std::pair<std::string, std::string> FuzzSplit(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string marker = std::string("\n") + kFuzzSplit + "\n";
    const size_t at = bytes.find(marker);
    if (at == std::string::npos) return {bytes, std::string()};
    return {bytes.substr(0, at), bytes.substr(at + marker.size())};
}
