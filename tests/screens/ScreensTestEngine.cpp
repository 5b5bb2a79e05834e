#include "ScreensTestEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/AudioManager.h"
#include "engine/XMLDocument.h"
#include "engine/HtmlLog.h"
#include "engine/StringManager.h"
#include "entities/CGUIEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "platform/RenderStats.h"
#include "profiles/PlayerManager.h"

using ZOLTFramework::CEntity;

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

void RemoveAllPlayers() {
    PlayerManager* players = PlayerManager::Instance();
    while (!players->Players.empty()) {
        const std::string name = players->Players.front()->Name;
        if (!players->RemovePlayer(name)) break;
    }
}

ScreensTestEngine::ScreensTestEngine(float dt)
    : m_headless("DROVALIN_HEADLESS", "1"), m_dt("DROVALIN_DT", std::to_string(dt).c_str()) {
    m_pHGE = hgeCreate(HGE_VERSION);
    m_pHGE->System_SetState(HGE_INIFILE, (m_dir / "app.ini").c_str());
    m_pHGE->System_SetState(HGE_LOGFILE, (m_dir / "app.log").c_str());
    m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
    m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
    m_pHGE->System_Initiate();
    m_pEntityManager = new EntityManager();
    m_pResourceManager = new hgeResourceManager("data\\Resource\\main.res");
    m_pAudioManager = new ZOLTFramework::CAudioManager();
    // No device: the volumes are kept all the same, and the tests stay fast.
    m_pStringManager = new StringManager();
    m_pStringManager->SetTable(new hgeStringTable("data\\Text\\English.txt"));
    FontRegistry::Instance().LoadFont("Default", "data\\Font\\default.fnt");
    FontRegistry::Instance().LoadFont("Default1", "data\\Font\\default.fnt");
    FontRegistry::Instance().LoadFont("Default14", "data\\Font\\default14.fnt");
    FontRegistry::Instance().LoadFont("Main", "data\\Font\\main.fnt");
    FontRegistry::Instance().LoadFont("Main1", "data\\Font\\main.fnt");

    RemoveAllPlayers();
    PlayerManager* players = PlayerManager::Instance();
    players->SetSavePath(m_dir.Path());
    players->SetUsersFile("data\\users.xml");
    players->Load();
    ZOLTFramework::g_bConfirmExit = false;
}

ScreensTestEngine::~ScreensTestEngine() {
    delete m_pEntityManager;
    m_pEntityManager = nullptr;
    RemoveAllPlayers();
    delete m_pStringManager;
    m_pStringManager = nullptr;
    delete m_pAudioManager;
    m_pAudioManager = nullptr;
    delete m_pResourceManager;
    m_pResourceManager = nullptr;
    FontRegistry::Clear();
    RenderStats::SetRecording(false);
    RenderStats::ClearRecorded();
    ZOLTFramework::g_bConfirmExit = false;
}

void ScreensTestEngine::Step(int frames) { FrameDriver::RunFrames(frames); }

void ScreensTestEngine::MoveMouse(float mx, float my) {
    InputEvent ev;
    ev.kind = InputEvent::Move;
    ev.x = mx;
    ev.y = my;
    FrameDriver::Inject(ev);
}

void ScreensTestEngine::KeyDown(int key) {
    InputEvent ev;
    ev.kind = InputEvent::Down;
    ev.key = key;
    FrameDriver::Inject(ev);
}

void ScreensTestEngine::KeyUp(int key) {
    InputEvent ev;
    ev.kind = InputEvent::Up;
    ev.key = key;
    FrameDriver::Inject(ev);
}

void ScreensTestEngine::Press(int key) {
    KeyDown(key);
    Step();
    KeyUp(key);
    Step();
}

void ScreensTestEngine::Click(float mx, float my) {
    MoveMouse(mx, my);
    Step();
    Press(HGEK_LBUTTON);
}

void ScreensTestEngine::ClickEntity(const CEntity* entity) {
    const auto* gui = dynamic_cast<const ZOLTFramework::CGUIEntity*>(entity);
    ASSERT_NE(gui, nullptr);
    const hgeRect& r = gui->GetRect();
    Click((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
}

void ScreensTestEngine::Type(const std::string& text) {
    InputEvent ev;
    ev.kind = InputEvent::Char;
    ev.text = text;
    FrameDriver::Inject(ev);
    Step(int(text.size()) + 1);
}

CEntity* ScreensTestEngine::Top() const { return m_pEntityManager->GetTopScreen(); }

std::vector<CEntity*> ScreensTestEngine::Named(const std::string& entityName) const {
    std::vector<CEntity*> found;
    for (CEntity* entity : m_pEntityManager->GetDrawList())
        if (entity && !entity->IsDead() && entity->GetName() == entityName) found.push_back(entity);
    return found;
}

std::string ScreensTestEngine::UsersFileText() const { return ReadAll(m_dir / "data/users.xml"); }

std::vector<std::string> ScreensTestEngine::SaveAndReadUsers() const {
    PlayerManager::Instance()->Save();
    std::vector<std::string> names;
    XMLDocument users("users");
    if (!users.Load(m_dir / "data/users.xml")) return names;
    for (const auto& player : users.GetRoot()->GetChildren()) {
        if (!player) continue;
        names.push_back((player->GetBoolAttribute("IsActive") ? "*" : "") + player->GetStringAttribute("Name"));
    }
    return names;
}

std::string ScreensTestEngine::IniText() const { return ReadAll(m_dir / "app.ini"); }
