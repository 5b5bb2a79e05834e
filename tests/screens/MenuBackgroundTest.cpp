// The menu background: the scene file, pixel snapping, the glowing windows, the
// bubble cycles and the fish it asks the aquarium for.
#include <gtest/gtest.h>

#include <cmath>

#include "ScreensTestEngine.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuBGScreen.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"

using ZOLTFramework::CMenuBGScreen;
using ZOLTFramework::CSpriteEntity;

namespace {

class MenuBackgroundTest : public ::testing::Test {
protected:
    CMenuBGScreen* Open(const std::string& file = CMenuBGScreen::kSceneFile) {
        auto* bg = new CMenuBGScreen("MenuBGScreen", file);
        bg->SetDepth(-1.0f);
        engine.Manager().Add(bg);
        engine.Step();
        return bg;
    }
    std::string Scene(const std::string& body) {
        static int n = 0;
        const std::string name = "scene" + std::to_string(++n) + ".xml";
        engine.Dir().Write(name, "<scene>" + body + "</scene>");
        return engine.Dir() / name;
    }
    // The children named prefix1, prefix2, ... in order.
    template <class T>
    static std::vector<T*> Numbered(CMenuBGScreen* bg, const std::string& prefix) {
        std::vector<T*> found;
        while (T* child = bg->FindChild<T>(prefix + std::to_string(found.size() + 1))) found.push_back(child);
        return found;
    }
    static std::vector<ZOLTFramework::CAnimEntity*> Spots(CMenuBGScreen* bg) {
        return Numbered<ZOLTFramework::CAnimEntity>(bg, "MenuBubbles");
    }
    struct Placed {
        float x, y, depth, width;
    };
    static std::vector<Placed> Sprites(CMenuBGScreen* bg) {
        std::vector<Placed> out;
        for (CSpriteEntity* s : Numbered<CSpriteEntity>(bg, "MenuScene"))
            out.push_back({s->GetAbsoluteX(), s->GetAbsoluteY(), s->GetDepth(),
                           s->GetSprite() ? s->GetSprite()->GetWidth() : -1.0f});
        return out;
    }

    ScreensTestEngine engine{0.1f};
};

const char* kUnits = "<unit><id>1</id><sprite>MenuBackground</sprite></unit>"
                     "<unit><id>2</id><sprite>MenuRocks</sprite></unit>";
const char* kObjects = "<object><id>2</id><name>a</name><x>10.75</x><y>20.5</y><z>1.5</z></object>"
                       "<object><id>1</id><x>-3.5</x><z>0</z></object>"
                       "<object><id>9</id><x>5</x><y>6</y><z>2</z></object>";

TEST_F(MenuBackgroundTest, ObjectsBeforeTheirUnitsGiveTheSamePicture) {
    CMenuBGScreen* first = Open(Scene(std::string(kUnits) + kObjects));
    CMenuBGScreen* second = Open(Scene(std::string(kObjects) + kUnits));
    engine.Step();
    const auto a = Sprites(first), b = Sprites(second);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 3u);
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x, b[i].x);
        EXPECT_EQ(a[i].y, b[i].y);
        EXPECT_EQ(a[i].depth, b[i].depth);
        EXPECT_EQ(a[i].width, b[i].width);
    }
    EXPECT_EQ(a[0].width, 800.0f);  // MenuRocks
    EXPECT_EQ(a[1].width, 800.0f);  // MenuBackground
    EXPECT_EQ(a[2].width, 1.0f);    // no unit 9: the untextured quad
}

TEST_F(MenuBackgroundTest, SceneSpritesSnapToWholePixelsTowardZero) {
    CMenuBGScreen* bg = Open(Scene(std::string(kUnits) + kObjects));
    engine.Step();
    auto placed = Sprites(bg);
    EXPECT_EQ(placed[0].x, 10.0f);
    EXPECT_EQ(placed[0].y, 20.0f);
    EXPECT_EQ(placed[1].x, -3.0f);
    // Also when the background itself moves by a fraction.
    bg->SetPosXY(0.4f, 0.7f);
    engine.Step();
    placed = Sprites(bg);
    EXPECT_EQ(placed[0].x, 10.0f);  // 10.4 drawn at 10
    EXPECT_EQ(placed[0].y, 20.0f);  // 20.7 at 20
    EXPECT_EQ(placed[1].x, -2.0f);  // -2.6 at -2
}

TEST_F(MenuBackgroundTest, AMissingSceneFileLeavesTheDecorations) {
    HtmlLogCapture log;
    CMenuBGScreen* bg = Open("data/Scenes/MainMenu/Missing.xml");
    EXPECT_NE(log.Text().find("Menu scene cannot be loaded"), std::string::npos);
    EXPECT_TRUE(Sprites(bg).empty());
    EXPECT_EQ(Spots(bg).size(), 5u);
    EXPECT_NE(bg->FindChild<CSpriteEntity>("MenuShipWindow1"), nullptr);
}

TEST_F(MenuBackgroundTest, TheShippedSceneAndDecorationsAreThere) {
    CMenuBGScreen* bg = Open();
    EXPECT_EQ(Sprites(bg).size(), 2u);
    ASSERT_EQ(Spots(bg).size(), 5u);
    for (auto* spot : Spots(bg)) ASSERT_NE(spot->GetAnimation(), nullptr);
    auto* seaweed = bg->FindChild<ZOLTFramework::CAnimEntity>("Seaweed");
    ASSERT_NE(seaweed, nullptr);
    ASSERT_NE(seaweed->GetAnimation(), nullptr);
    EXPECT_TRUE(seaweed->GetAnimation()->IsPlaying());
    EXPECT_FLOAT_EQ(seaweed->GetAnimation()->GetSpeed(), 10.0f);
    EXPECT_LT(bg->GetOpacity(), 1.0f);  // fading in
    engine.Step(10);
    EXPECT_EQ(bg->GetAbsoluteOpacity(), 1.0f);
}

TEST_F(MenuBackgroundTest, ShipWindowsGlowInANineSecondCycle) {
    CMenuBGScreen* bg = Open();
    CSpriteEntity* window = bg->FindChild<CSpriteEntity>("MenuShipWindow1");
    // (time in s, opacity): dark at 0, lit from 1 to 5, dark again from 6 to 9.
    const float expected[][2] = {{0.5f, 0.5f}, {3.0f, 1.0f}, {5.5f, 0.5f}, {7.5f, 0.0f}, {9.5f, 0.5f}, {12.0f, 1.0f}};
    float now = 0.0f;
    for (const auto& e : expected) {
        while (now + 0.05f < e[0]) {
            engine.Step();
            now += 0.1f;
        }
        EXPECT_NEAR(window->GetOpacity(), e[1], 0.11f) << "at " << e[0] << " s";
        EXPECT_NEAR(bg->FindChild<CSpriteEntity>("MenuShipWindow2")->GetOpacity(), window->GetOpacity(), 1e-5f);
    }
}

TEST_F(MenuBackgroundTest, BubbleSpotsWaitOnTheirLastFrameThenPlayOnce) {
    CMenuBGScreen* bg = Open();
    auto* spot = bg->FindChild<ZOLTFramework::CAnimEntity>("MenuBubbles1");
    ASSERT_NE(spot, nullptr);
    hgeAnimation* anim = spot->GetAnimation();
    hgeAnimation last(*anim);
    last.SetFrame(anim->GetFrames() - 1);
    EXPECT_TRUE(SameLook(anim, &last));
    EXPECT_FALSE(anim->IsPlaying());
    // Each spot bursts within 15 s and waits at least 1 s between bursts.
    bool played = false;
    for (int i = 0; i < 160 && !played; ++i) {
        engine.Step();
        played = anim->IsPlaying();
    }
    EXPECT_TRUE(played);
    bg->ScheduleBubbles(spot, true);
    EXPECT_FALSE(anim->IsPlaying());
    engine.Step();
    EXPECT_TRUE(anim->IsPlaying());
}

TEST_F(MenuBackgroundTest, FourteenFishSpreadOverTheWidth) {
    PlayerManager* players = PlayerManager::Instance();
    const std::vector<std::string> kinds = players->FishKinds;
    players->FishKinds = {"bubbles2_Menu"};  // any animation will do for a fish
    CMenuBGScreen* bg = Open();
    engine.Step(2);
    const auto fish = players->GetFish();
    players->FishKinds = kinds;
    ASSERT_EQ(fish.size(), 14u);
    for (auto* f : fish) {
        EXPECT_EQ(f->GetParent(), bg);
        EXPECT_GE(f->GetX(), -200.0f);
        EXPECT_LE(f->GetX(), 1000.0f);
    }
    players->KillEntities();
}

}  // namespace
