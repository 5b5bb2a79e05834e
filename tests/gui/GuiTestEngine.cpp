#include "GuiTestEngine.h"

#include <algorithm>

#include "engine/HtmlLog.h"

namespace {
std::string DtText(float dt) { return std::to_string(dt); }
}  // namespace

GuiTestEngine::GuiTestEngine(const GuiTestOptions& options)
    : m_headless("DROVALIN_HEADLESS", "1"), m_dt("DROVALIN_DT", DtText(options.dt).c_str()) {
    m_pHGE = hgeCreate(HGE_VERSION);
    m_pHGE->System_SetState(HGE_INIFILE, (m_dir / "app.ini").c_str());
    m_pHGE->System_SetState(HGE_LOGFILE, (m_dir / "app.log").c_str());
    m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
    m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
    m_pHGE->System_Initiate();
    m_pEntityManager = new EntityManager();
    if (options.resources) m_pResourceManager = new hgeResourceManager("data\\Resource\\main.res");
    if (options.audio) {
        m_pAudioManager = new ZOLTFramework::CAudioManager();
        if (m_pAudioManager->OpenDevice()) {
            m_pAudioManager->LoadSound("OnWindow", "data/Sound/OnWindow.ogg");
            m_pAudioManager->LoadSound("MouseOver", "data/Sound/MouseOver.ogg");
            m_pAudioManager->LoadSound("OnButtonPress", "data/Sound/OnButtonPress.ogg");
        }
    }
    if (options.fonts) {
        FontRegistry::Instance().LoadFont("Main", "data\\Font\\main.fnt");
        FontRegistry::Instance().LoadFont("Comics", "data\\Font\\comics.fnt");
    }
    if (!options.textTable.empty()) SetTextTable(options.textTable);
}

GuiTestEngine::~GuiTestEngine() {
    // Entities first (they may still reach the services), then the services,
    // then the engine interface in the base destructor.
    delete m_pEntityManager;
    m_pEntityManager = nullptr;
    delete m_pStringManager;
    m_pStringManager = nullptr;
    delete m_pAudioManager;
    m_pAudioManager = nullptr;
    delete m_pResourceManager;
    m_pResourceManager = nullptr;
    FontRegistry::Clear();
    RenderStats::SetRecording(false);
    RenderStats::ClearRecorded();
    HtmlLog::Instance()->Open("");
}

void GuiTestEngine::SetTextTable(const std::string& content) {
    m_dir.Write("text.txt", content);
    if (!m_pStringManager) m_pStringManager = new StringManager();
    m_pStringManager->SetTable(new hgeStringTable((m_dir / "text.txt").c_str()));
}

RefPtr<XMLDocument::XMLElement> GuiTestEngine::LoadLayout(const std::string& xml) {
    static int counter = 0;
    const std::string file = "layout" + std::to_string(++counter) + ".xml";
    m_dir.Write(file, xml);
    XMLDocument doc("layout");
    if (!doc.Load(m_dir / file)) return RefPtr<XMLDocument::XMLElement>();
    return doc.GetRoot();
}

void GuiTestEngine::MoveMouse(float mx, float my) {
    InputEvent ev;
    ev.kind = InputEvent::Move;
    ev.x = mx;
    ev.y = my;
    FrameDriver::Inject(ev);
}

void GuiTestEngine::KeyDown(int key) {
    InputEvent ev;
    ev.kind = InputEvent::Down;
    ev.key = key;
    FrameDriver::Inject(ev);
}

void GuiTestEngine::KeyUp(int key) {
    InputEvent ev;
    ev.kind = InputEvent::Up;
    ev.key = key;
    FrameDriver::Inject(ev);
}

void GuiTestEngine::Press(int key) {
    KeyDown(key);
    Step();
    KeyUp(key);
    Step();
}

void GuiTestEngine::Click(float mx, float my) {
    MoveMouse(mx, my);
    Press(HGEK_LBUTTON);
}

int JournalListener::Count(const std::string& event) const { return CountOf(events, event); }

int CountOf(const std::vector<std::string>& journal, const std::string& entry) {
    return int(std::count(journal.begin(), journal.end(), entry));
}
