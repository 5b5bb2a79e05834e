#include <memory>
#include "support/runtime/GuiTestEngine.h"

#include <gtest/gtest.h>

#include "engine/AudioManager.h"
#include "engine/HtmlLog.h"
#include "engine/StringManager.h"
#include "entities/widgets/CGUIEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"
#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "support/TestInput.h"

using ZOLTFramework::CEntity;

GuiTestEngine::GuiTestEngine(const GuiTestOptions& options)
    : m_headless("DROVALIN_HEADLESS", "1"),
      m_dt("DROVALIN_DT", std::to_string(options.dt).c_str()),
      m_settleBeforeClick(options.settleBeforeClick) {
    m_pHGE = hgeCreate(HGE_VERSION);
    m_pHGE->System_SetState(HGE_INIFILE, (m_dir / "app.ini").c_str());
    m_pHGE->System_SetState(HGE_LOGFILE, (m_dir / "app.log").c_str());
    m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
    m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
    m_pHGE->System_Initiate();
    SetEntityManager(std::make_unique<EntityManager>());
    if (options.resources) UseResources();
    if (options.audio) UseAudio(true);
    if (options.fonts) UseFonts({{"Main", "data\\Font\\main.fnt"}, {"Comics", "data\\Font\\comics.fnt"}});
    if (!options.textTable.empty()) SetTextTable(options.textTable);
}

GuiTestEngine::~GuiTestEngine() {
    // Entities first (they may still reach the services), then the services,
    // then the engine interface in the base destructor.
    DeleteEntities();
    SetStringManager(nullptr);
    SetAudioManager(nullptr);
    SetResourceManager(nullptr);
    FontRegistry::Clear();
    RenderStats::SetRecording(false);
    RenderStats::ClearRecorded();
    HtmlLog::Instance()->Open("");
}

void GuiTestEngine::UseResources() { SetResourceManager(std::make_unique<hgeResourceManager>("data\\Resource\\main.res")); }

void GuiTestEngine::UseAudio(bool eventSounds) {
    SetAudioManager(std::make_unique<ZOLTFramework::CAudioManager>());
    m_audioDevice = eventSounds && m_pAudioManager->OpenDevice();
    if (m_audioDevice) {
        m_pAudioManager->LoadSound("OnWindow", "data/Sound/OnWindow.ogg");
        m_pAudioManager->LoadSound("MouseOver", "data/Sound/MouseOver.ogg");
        m_pAudioManager->LoadSound("OnButtonPress", "data/Sound/OnButtonPress.ogg");
    }
}

void GuiTestEngine::UseTextFile(const char* file) {
    if (!m_pStringManager) SetStringManager(std::make_unique<StringManager>());
    m_pStringManager->SetTable(new hgeStringTable(file));
}

void GuiTestEngine::UseFonts(std::initializer_list<FontFile> fonts) {
    for (const FontFile& font : fonts) FontRegistry::Instance().LoadFont(font.name, font.file);
}

void GuiTestEngine::DeleteEntities() {
    SetEntityManager(nullptr);
}

void GuiTestEngine::SetTextTable(const std::string& content) {
    m_dir.Write("text.txt", content);
    UseTextFile((m_dir / "text.txt").c_str());
}

RefPtr<XMLDocument::XMLElement> GuiTestEngine::LoadLayout(const std::string& xml) {
    static int counter = 0;
    const std::string file = "layout" + std::to_string(++counter) + ".xml";
    m_dir.Write(file, xml);
    XMLDocument doc("layout");
    if (!doc.Load(m_dir / file)) return RefPtr<XMLDocument::XMLElement>();
    return doc.GetRoot();
}

void GuiTestEngine::Step(int frames) { FrameDriver::RunFrames(frames); }

void GuiTestEngine::MoveMouse(float mx, float my) { TestInput::Move(mx, my); }

void GuiTestEngine::KeyDown(int key) { TestInput::Key(InputEvent::Down, key); }

void GuiTestEngine::KeyUp(int key) { TestInput::Key(InputEvent::Up, key); }

void GuiTestEngine::Press(int key) {
    KeyDown(key);
    Step();
    KeyUp(key);
    Step();
}

void GuiTestEngine::Click(float mx, float my) {
    MoveMouse(mx, my);
    if (m_settleBeforeClick) Step();
    Press(HGEK_LBUTTON);
}

void GuiTestEngine::ClickEntity(const CEntity* entity) {
    const auto* gui = dynamic_cast<const ZOLTFramework::CGUIEntity*>(entity);
    ASSERT_NE(gui, nullptr);
    const hgeRect& r = gui->GetRect();
    Click((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
}

void GuiTestEngine::Type(const std::string& text) {
    TestInput::Text(text);
    Step(int(text.size()) + 1);
}

CEntity* GuiTestEngine::Top() const { return m_pEntityManager->GetTopScreen(); }

std::vector<CEntity*> GuiTestEngine::Named(const std::string& entityName) const {
    std::vector<CEntity*> found;
    for (CEntity* entity : m_pEntityManager->GetDrawList())
        if (entity && !entity->IsDead() && entity->GetName() == entityName) found.push_back(entity);
    return found;
}
