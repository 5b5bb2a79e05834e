#include "entities/screens/Dialog.h"

#include "engine/EngineContext.h"
#include "engine/Conversions.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/core/LayoutAttributes.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

using ZOLTFramework::CQuestionListener;
using ZOLTFramework::CWindowEntity;
namespace Services = ZOLTFramework::Services;

namespace {
const char* const kFontName = "Default14";
}  // namespace

Dialog::Dialog(const std::string& screenName, const std::string& layoutFile, CQuestionListener* questionOwner)
    : CScreenEntity(screenName), owner(questionOwner) {
    playOpenSound = true;
    LoadLayout(layoutFile);

    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    Open();
}

Dialog::~Dialog() = default;

void Dialog::LoadLayout(const std::string& layoutFile) {
    XMLDocument doc("dialog");
    if (!doc.Load(layoutFile)) {
        HtmlLog::Instance()->Error("Dialog " + HtmlLog::Shown(name) + ": cannot load layout: " + HtmlLog::Shown(doc.GetLastError()));
    } else {
        const XMLDocument::XMLElement& root = *doc.GetRoot();
        textOffsetX = root.GetFloatAttribute("text_offset_x");
        textOffsetY = root.GetFloatAttribute("text_offset_y");
        textWidth = root.GetFloatAttribute("text_width");
        textHeight = root.GetFloatAttribute("text_height");

        for (const auto& child : root.GetChildren()) {
            if (!child) continue;
            const std::string& element = child->GetName();
            if (element == "button_ok") {
                okButton = MakeButton(*child, HGEK_ENTER, "YES");
            } else if (element == "button_cancel") {
                cancelButton = MakeButton(*child, HGEK_ESCAPE, "NO");
            } else if (element == "window") {
                CWindowEntity* w = SpawnChild<CWindowEntity>();
                w->SetName("Window");
                w->SetSizeCentered(0.0f, 0.0f);
                for (const auto& attribute : child->GetAttributes()) {
                    if (!attribute) continue;
                    const std::string& key = attribute->GetName();
                    const std::string& value = attribute->GetValue();
                    if (key == "texture") {
                        w->SetSpriteName(value);
                    } else {
                        ZOLTFramework::LayoutAttributes::ApplyPlacement(*w, key, value);
                    }
                }
                window = w;
            }
        }
    }

    if (!window) {
        // Without a window there is nothing to click: the keys still answer.
        if (doc.IsLoaded()) HtmlLog::Instance()->Error("Dialog " + HtmlLog::Shown(name) + ": layout " + HtmlLog::Shown(layoutFile) + " has no window");
        AddShortcut(HGEK_ENTER, "YES");
        AddShortcut(HGEK_ESCAPE, "NO");
    }
}

ButtonExEntity* Dialog::MakeButton(const XMLDocument::XMLElement& element, int key, const char* message) {
    AddShortcut(key, message);
    if (!window) {
        // A button must live under the window to fade, pause and die with the
        // dialog; one read before any window is left out.
        HtmlLog::Instance()->Warning("Dialog " + HtmlLog::Shown(name) + ": \"" + HtmlLog::Shown(element.GetName()) + "\" before \"window\" is ignored");
        return nullptr;
    }
    return window->SpawnChild<ButtonExEntity>(element, this);
}

void Dialog::Render() {
    if (!window) return;
    hgeFont* font = FontRegistry::GetFont(kFontName);
    if (!font) return;
    bool found = false;
    const std::string message = Services::Text(engine, text, &found);
    if (!found) return;

    const DWORD previous = font->GetColor();
    font->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    const float bx = window->GetAbsoluteX() - textOffsetX;
    const float by = window->GetAbsoluteY() - textOffsetY;
    // The message is text, never a format.
    font->printfb(bx, by, textWidth, textHeight, HGETEXT_CENTER | HGETEXT_TOP, "%s", message.c_str());
    font->SetColor(previous);
}

void Dialog::GotFocus() {
    CScreenEntity::GotFocus();
    if (window) window->Resume();
}

void Dialog::LostFocus() {
    CScreenEntity::LostFocus();
    if (window) window->Pause();
}

void Dialog::OnButtonPress(const std::string& message) {
    if (!BeginFinish()) return;
    Services::PlaySound(engine, "OnButtonPress");
    if (message == "YES") {
        Answer(true);
    } else if (message == "NO") {
        Answer(false);
    }
    CloseDialog();
}

void Dialog::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }

bool Dialog::BeginFinish() {
    if (finished) return false;
    finished = true;
    return true;
}

void Dialog::Answer(bool yes) {
    if (owner) owner->OnAnswer(name, yes);
}

void Dialog::CloseDialog() {
    CloseAndDestroy();
    EntityManager* manager = Manager();
    if (manager) manager->RemoveScreen(this);
}
