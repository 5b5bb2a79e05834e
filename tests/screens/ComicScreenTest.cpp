// Comic pages: the steps of a page run one a frame at most, lines wait for
// the left button, bubbles take the side of the last entrance, the hero wears
// the player's medals, and a page frees only a resource group it may free.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "StoryTestSupport.h"
#include "entities/core/CCountBase.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "scene/LiveGroups.h"
#include "screens/ComicScreen.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::CEntity;

namespace {

const char* const kMedals = R"(<medals>
  <medal id="1" sprite="InGameRect" x="170" y="350" z="3"/>
  <medal id="2" sprite="ParticleBubble" x="200" y="350" z="4"/>
  <medal id="3" sprite="NoSuchMedalPicture" x="230" y="350" z="3"/>
</medals>)";

struct Page {
    ComicScreen* screen;
    std::weak_ptr<void> alive;
};

Page OpenPage(StoryEngine& engine, const std::string& file, const std::string& xml) {
    auto* screen = new ComicScreen(engine.Write(file, xml), engine.Write("Medals.xml", kMedals));
    screen->SetLayer(15.0f);
    return {screen, screen->GetLifeToken()};
}

CEntity* Character(const ComicScreen* screen, const std::string& name) {
    for (CEntity* child : screen->GetChildren())
        if (child->GetName() == name && !dynamic_cast<SpriteExEntity*>(child)) return child;
    return nullptr;
}

// Bubbles in the order they were made, dead ones too.
std::vector<SpriteExEntity*> Bubbles(const ComicScreen* screen) {
    std::vector<SpriteExEntity*> found;
    for (CEntity* child : screen->GetChildren())
        if (auto* bubble = dynamic_cast<SpriteExEntity*>(child)) found.push_back(bubble);
    return found;
}

bool Mirrored(const SpriteExEntity* bubble) {
    hgeQuad look = LookOf(bubble->GetSprite());
    return look.v[0].tx > look.v[1].tx;
}

TextEntity* TextOf(const SpriteExEntity* bubble) { return ChildrenOf<TextEntity>(bubble).at(0); }

// The letters of the comic font drawn in the next frame, and whether each lies
// inside the bubble's picture as drawn in that frame.
struct Letters {
    int count = 0;
    bool inside = true;
};
Letters LettersDrawn(StoryEngine& engine, const SpriteExEntity* bubble) {
    const auto quads = RecordQuads([&] { engine.Step(); });
    float x1 = 1e9f, y1 = 1e9f, x2 = -1e9f, y2 = -1e9f;
    for (const auto& q : quads)
        if (q.quad.tex == bubble->GetSprite()->GetTexture())
            for (const hgeVertex& v : q.quad.v)
                x1 = std::min(x1, v.x), y1 = std::min(y1, v.y), x2 = std::max(x2, v.x), y2 = std::max(y2, v.y);
    Letters letters;
    for (const auto& q : quads) {
        if (q.quad.tex != TextureOf(FontRegistry::GetFont("Comics"))) continue;
        ++letters.count;
        for (const hgeVertex& v : q.quad.v) letters.inside &= v.x >= x1 && v.x <= x2 && v.y >= y1 && v.y <= y2;
    }
    return letters;
}

}  // namespace

TEST(ComicScreen, StepsRunInTheirFramesWithTheButtonHeldOrUp) {
    StoryEngine engine(0.05f);
    ASSERT_TRUE(engine.HasSound());
    HtmlLogCapture log;
    Page page = OpenPage(engine, "Walk.xml", R"(<page>
  <appear character="Mara" from="left" string="OK">
    <sprite name="InGameRect" Z="2"/>
    <sprite name="data/Texture/Particles/Bubble.png" Scale="2"/>
    <sprite name="NoSuchPicture"/>
  </appear>
  <replic string="NO_SUCH_KEY"/>
  <disappear character="Mara" to="left"/>
</page>)");
    ComicScreen* screen = page.screen;
    EXPECT_EQ(engine.Top(), screen);
    // The first entrance ran while the page was built, before "OnComicsStart".
    EXPECT_EQ(engine.Plays("OnCharCame"), 1);
    EXPECT_EQ(engine.Plays("OnCharAppear"), 0);
    EXPECT_EQ(engine.Plays("OnComicsStart"), 1);
    EXPECT_FLOAT_EQ(Bubbles(screen).at(0)->GetX(), 470.0f);
    EXPECT_FALSE(Mirrored(Bubbles(screen).at(0)));

    CEntity* mara = Character(screen, "Mara");
    ASSERT_NE(mara, nullptr);
    EXPECT_FALSE(mara->IsHidden());
    const auto pictures = ChildrenOf<SpriteExEntity>(mara);
    ASSERT_EQ(pictures.size(), 2u) << "a picture without a texture is skipped";
    EXPECT_FLOAT_EQ(pictures[0]->GetSprite()->GetHotSpotX(), 20.0f) << "the sprite resource's hot spot";
    EXPECT_FLOAT_EQ(pictures[0]->GetDepth(), 2.0f);
    EXPECT_FLOAT_EQ(pictures[1]->GetSprite()->GetHotSpotX(), pictures[1]->GetSprite()->GetWidth() / 2);
    EXPECT_FLOAT_EQ(pictures[1]->GetScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(pictures[1]->GetDepth(), 1.0f);
    EXPECT_EQ(log.Count("no picture \"NoSuchPicture\""), 1);
    EXPECT_EQ(log.Count("no text for \"NO_SUCH_KEY\""), 1);

    // Button up: the line stays whatever the time; held, only once the
    // entrance's 0.6 s are over. Its text shows only once the bubble has
    // grown to full size, and then inside it.
    SpriteExEntity* first = Bubbles(screen).at(0);
    engine.Run(0.5f);
    EXPECT_GT(first->GetScaleX(), 0.0f);
    EXPECT_LT(first->GetScaleX(), 1.0f);
    engine.KeyDown(HGEK_LBUTTON);
    EXPECT_EQ(LettersDrawn(engine, first).count, 0) << "mid-grow";
    engine.KeyUp(HGEK_LBUTTON);
    EXPECT_FALSE(first->IsDead()) << "held at 0.55 s";
    engine.Run(0.5f);
    EXPECT_FALSE(first->IsDead());
    EXPECT_FLOAT_EQ(mara->GetX(), 180.0f);
    EXPECT_FLOAT_EQ(first->GetScaleX(), 1.0f);
    EXPECT_EQ(TextOf(first)->GetTextRef(), "OK");
    const Letters grown = LettersDrawn(engine, first);
    EXPECT_EQ(grown.count, 2);
    EXPECT_TRUE(grown.inside);

    // Held: the bubble goes in the first frame, the next line comes in the
    // next one, and goes 0.2 s later.
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_TRUE(first->IsDead());
    SpriteExEntity* line = Bubbles(screen).at(1);
    EXPECT_TRUE(line->IsHidden());
    engine.Step();
    EXPECT_FALSE(line->IsHidden());
    float took = 0.0f;
    EXPECT_TRUE(engine.RunUntil([&] { return line->IsDead(); }, 1.0f, &took));
    EXPECT_NEAR(took, 0.2f, engine.dt + 0.001f);

    // Up again: the exit waits for the button, then runs in the frame of a
    // click that went down and up inside it, and needs no more clicks.
    engine.KeyUp(HGEK_LBUTTON);
    engine.Run(0.5f);
    EXPECT_FLOAT_EQ(mara->GetX(), 180.0f) << "the exit waits";
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_FALSE(engine.Hge()->Input_GetKeyState(HGEK_LBUTTON));
    EXPECT_TRUE(engine.RunUntil([&] { return mara->IsDead(); }, 1.0f, &took));
    EXPECT_NEAR(took, 0.4f, engine.dt + 0.001f) << "the exit ran in the click's frame";
    EXPECT_FLOAT_EQ(mara->GetX(), -420.0f);
    engine.Step();
    EXPECT_TRUE(screen->IsDead()) << "the page ends in the frame after the last step";
    EXPECT_NE(engine.Top(), screen);
    engine.Step();
    EXPECT_TRUE(page.alive.expired());
}

TEST(ComicScreen, BubblesTakeTheSideOfTheLastEntrance) {
    StoryEngine engine(0.05f);
    Page page = OpenPage(engine, "Sides.xml", R"(<page>
  <appear character="Brannok" string="OK" from="opacity" X="600" Y="400"/>
  <appear character="Mara" from="top"/>
  <replic string="OK"/>
  <appear character="Mara2" from="opacity" X="180" Y="400" string="OK"/>
  <appear character="Mara3" from="opacity" X="300" Y="350"/>
  <replic string="OK"/>
  <appear character="Mara4" from="right" string="OK"/>
</page>)");
    ComicScreen* screen = page.screen;
    // The second entrance left two steps again: the first bubble went while
    // the page was built, and nothing waits.
    const auto bubbles = Bubbles(screen);
    ASSERT_EQ(bubbles.size(), 5u);
    EXPECT_TRUE(bubbles[0]->IsDead());
    // "string" before "from": the side in force then (the start: (0, 0), +1).
    EXPECT_FLOAT_EQ(bubbles[0]->GetX(), 0.0f);
    EXPECT_FALSE(Mirrored(bubbles[0]));
    // "X" 600: mirrored at (300, 150), the text on the other side.
    EXPECT_FLOAT_EQ(bubbles[1]->GetX(), 300.0f);
    EXPECT_FLOAT_EQ(bubbles[1]->GetY(), 150.0f);
    EXPECT_TRUE(Mirrored(bubbles[1]));
    EXPECT_FLOAT_EQ(TextOf(bubbles[1])->GetX(), -150.0f);
    // "X" 180: (470, 150), not mirrored; any other "X" keeps that.
    for (int i : {2, 3}) {
        EXPECT_FLOAT_EQ(bubbles[size_t(i)]->GetX(), 470.0f);
        EXPECT_FALSE(Mirrored(bubbles[size_t(i)]));
        EXPECT_FLOAT_EQ(TextOf(bubbles[size_t(i)])->GetX(), -60.0f);
        EXPECT_FLOAT_EQ(TextOf(bubbles[size_t(i)])->GetY(), -45.0f);
    }
    EXPECT_FLOAT_EQ(bubbles[4]->GetX(), 300.0f);
    EXPECT_TRUE(Mirrored(bubbles[4]));
    for (const auto* bubble : bubbles) EXPECT_FLOAT_EQ(bubble->GetScaleX(), 0.0f) << "grown only by its step";
    EXPECT_TRUE(Character(screen, "Mara3")->IsHidden());
    engine.Step();  // the page joins the manager; a press from then on is one on it
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    engine.KeyUp(HGEK_LBUTTON);
    EXPECT_FALSE(Character(screen, "Mara")->IsHidden()) << "no delay left: held, the next entrance runs at once";
}

TEST(ComicScreen, OnlyBrannokWearsThePlayersMedals) {
    StoryEngine engine(0.05f);
    const char* const kPage = R"(<page>
  <appear character="Brannok" from="left"><sprite name="InGameRect" Z="2"/></appear>
  <appear character="Mara" from="right"><sprite name="InGameRect"/></appear>
  <appear character="brannok" from="top"><sprite name="InGameRect"/></appear>
</page>)";
    engine.Active()->Medals = {1, 2, 3};
    Page page = OpenPage(engine, "Medals1.xml", kPage);
    const auto worn = ChildrenOf<SpriteExEntity>(Character(page.screen, "Brannok"));
    ASSERT_EQ(worn.size(), 3u) << "his picture and two medals; medal 3 has no picture";
    EXPECT_FLOAT_EQ(worn[1]->GetX(), -30.0f);
    EXPECT_FLOAT_EQ(worn[1]->GetY(), -50.0f);
    EXPECT_FLOAT_EQ(worn[1]->GetScaleX(), 0.2f);
    EXPECT_FLOAT_EQ(worn[1]->GetDepth(), 3.0f);
    EXPECT_FLOAT_EQ(worn[2]->GetX(), 0.0f);
    EXPECT_FLOAT_EQ(worn[2]->GetDepth(), 4.0f);
    EXPECT_FLOAT_EQ(worn[2]->GetSprite()->GetHotSpotX(), worn[2]->GetSprite()->GetWidth() / 2) << "centred";
    EXPECT_EQ(ChildrenOf<SpriteExEntity>(Character(page.screen, "Mara")).size(), 1u);
    EXPECT_EQ(ChildrenOf<SpriteExEntity>(Character(page.screen, "brannok")).size(), 1u);

    engine.Active()->Medals.clear();
    Page plain = OpenPage(engine, "Medals2.xml", kPage);
    EXPECT_EQ(ChildrenOf<SpriteExEntity>(Character(plain.screen, "Brannok")).size(), 1u);
}

TEST(ComicScreen, BadPagesEndQuietlyAndOnlyFreeGroupsArePurged) {
    StoryEngine engine(0.05f);
    HtmlLogCapture log;
    EntityManager& manager = engine.Manager();
    auto entities = [] { return static_cast<size_t>(ZOLTFramework::CCountBase::GetLiveCount()); };

    // An unknown "disappear" makes nothing at all.
    size_t before = entities();
    OpenPage(engine, "Known.xml", R"(<page><appear character="Mara" from="left"/></page>)");
    const size_t known = entities() - before;
    before = entities();
    Page unknown = OpenPage(engine, "Unknown.xml", R"(<page><appear character="Mara" from="left"/>
      <disappear character="Nobody" to="left"/></page>)");
    EXPECT_EQ(entities() - before, known);
    // Nor a step: held, the page ends right after the entrance.
    float took = 0.0f;
    engine.Step();
    engine.KeyDown(HGEK_LBUTTON);
    EXPECT_TRUE(engine.RunUntil([&] { return unknown.alive.expired(); }, 2.0f, &took));
    engine.KeyUp(HGEK_LBUTTON);
    EXPECT_LT(took, 0.8f) << "an exit would take 0.4 s more";

    // An unreadable page still opens, then ends on its first update.
    const int starts = engine.Plays("OnComicsStart");
    auto* missing = new ComicScreen(engine.Dir() / "NoSuchPage.xml");
    std::weak_ptr<void> missingAlive = missing->GetLifeToken();
    EXPECT_EQ(engine.Top(), missing);
    EXPECT_EQ(engine.Plays("OnComicsStart"), starts + 1);
    EXPECT_EQ(log.CountRows("Error", "Comic page cannot be read"), 1);
    engine.Step(3);
    EXPECT_TRUE(missingAlive.expired());

    // Groups: a start-up group or one a live scene holds stays; a free scene
    // group is purged when its page goes.
    hgeResourceManager* resources = engine.GetResourceManager();
    const char* files[] = {"data/Texture/Buttons/Button.png", "data/Texture/Buttons/ButtonNo.png",
                           "data/Texture/Buttons/ButtonYes.png", "data/Texture/Buttons/SmallButton.png"};
    const int groups[] = {0, 5, 40, 41};
    HTEXTURE textures[4];
    for (int i = 0; i < 4; ++i) {
        textures[i] = resources->GetTexture(files[i], groups[i]);
        ASSERT_NE(textures[i], 0u);
    }
    CEntity* field = manager.Spawn<CEntity>();  // stands in for the live play field
    LiveGroups::Hold(40, field);
    for (int group : groups)
        OpenPage(engine, "Group" + std::to_string(group) + ".xml",
                 "<page res_group=\"" + std::to_string(group) + "\"/>");
    engine.Step(3);
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(engine.GetHGE()->Texture_GetWidth(textures[i]), 0) << "group " << groups[i] << " kept";
    EXPECT_EQ(engine.GetHGE()->Texture_GetWidth(textures[3]), 0) << "group 41 purged";
    EXPECT_EQ(log.CountRows("Warning", "Comic page " + (engine.Dir() / "Group0.xml")), 1);
    EXPECT_EQ(log.CountRows("Warning", "Comic page " + (engine.Dir() / "Group5.xml")), 1);
    EXPECT_EQ(log.CountRows("Warning", "Comic page " + (engine.Dir() / "Group40.xml")), 1);
    EXPECT_EQ(log.CountRows("Warning", "Comic page " + (engine.Dir() / "Group41.xml")), 0);

    // Once the scene is gone, its group may go.
    field->Kill();
    engine.Step();
    OpenPage(engine, "Group40b.xml", "<page res_group=\"40\"/>");
    engine.Step(3);
    EXPECT_EQ(engine.GetHGE()->Texture_GetWidth(textures[2]), 0);
}
