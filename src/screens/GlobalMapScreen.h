// The map between levels: the 1600 x 1200 picture of the town seen through
// the 800 x 600 window, with one level node for every place the active player
// has reached. The view scrolls while the mouse rests near a window edge (an
// arrow cursor shows the way), a hovered node brightens, a click zooms into
// its level ("Q_ALREADY_PASSED" first for a solved one) and Esc asks "Q_QUIT"
// before going back to the main menu. After a won level a flag flies onto the
// solved node and the view pans to the node it opened, which gets a ring of
// stars. A new game first shows the whole map at half size with a prompt;
// a key flies down to the start and the map's tutorial opens.
//
// Coordinates: the map's position P and scale s place the picture point
// (u, v) at the window point P + ((u - 1200) * s, (v - 900) * s); at scale 1
// edge scrolling keeps P inside [400, 1200] x [300, 900].
//
// A player with a level in progress never sees the map: its constructor
// hands over to that level at once and kills the map (opening a dead map
// afterwards is harmless). The map file is read through GlobalMapData;
// broken entries (a missing attribute, an unknown picture or caption) are
// Error rows and the node is left out; the map opens all the same.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "entities/core/GameTimer.h"
#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "platform/hge.h"
#include "screens/GlobalMapData.h"
#include "screens/NodeAnimationRecord.h"

class Player;
class TextEntity;

namespace ZOLTFramework {

class CSpriteEntity;
class LevelNode;

class GlobalMapScreen : public CScreenEntity, public CQuestionListener, public CButtonListener {
public:
    static constexpr const char* kMapFile = "data/GlobalMapScreen.xml";
    static constexpr const char* kYesNoFile = "data/Screens/DialogYesNo.xml";
    static constexpr const char* kTutorialFile = "data/Screens/DialogTutorial.xml";
    static constexpr float kQuestionLayer = 102400.0f;
    static constexpr float kQuestionDepth = 90000.0f;
    static constexpr float kOverviewZoomSpeed = 0.75f;
    static constexpr const char* kStartNode = "NodeBrannoksHouse";
    static constexpr float kEdge = 45.0f;
    static constexpr float kScrollDelay = 0.3f;
    static constexpr float kScrollAcceleration = 300.0f;
    static constexpr float kScrollDeceleration = 200.0f;
    static constexpr float kScrollMaxSpeed = 350.0f;
    static constexpr float kFlightTime = 0.8f;
    static constexpr float kPanStart = 1.15f;
    static constexpr float kPanEnd = 2.15f;
    static constexpr float kNodesRevealTime = 1.2f;
    static constexpr float kCursorDepth = 100.11f;
    static constexpr DWORD kHoverColor = 0xFF333333;
    static constexpr int kHoverBlend = 3;  // colour added, alpha blended

    explicit GlobalMapScreen(const std::string& mapFile);
    ~GlobalMapScreen() override;

    void Update(float dt) override;
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;

    // "Exit" (Esc) asks "Q_QUIT"; the sound for every message.
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& name) override;
    // "EXIT_TO_MENU" yes: back to the main menu; "START_LEVEL" yes: the
    // level of the node asked about.
    void OnAnswer(const std::string& question, bool yes) override;

    // Keeps the level of the scene to open once the map has faded (the
    // update hands over), sets the active player's node score, and makes the
    // newest node the chosen one.
    void CreateLevelScreen(const std::string& scene, int nodeScore);
    // The first name of the nodes not yet reached, taken off the list; empty
    // when none is left.
    std::string PopNextNodeName();
    // The prompt slides up and pulses twice (only while it exists).
    void StartAnimation();
    void HideAllNodes();
    void ShowAllNodes();
    LevelNode* FindNodeByName(const std::string& nodeName) const;
    // Places the map so that the first node of that name is centred; no such
    // node, no change.
    void CentreOnNode(const std::string& nodeName);

    // The banner flight: the records of the file, and the flight onto a node
    // (started by the construction after a won level).
    void LoadNodeAnimations(const GlobalMapData::FlagRecord& flag);
    void PlaceBanner(LevelNode* node);

    // ---- state, for the game flow and tests
    const std::vector<LevelNode*>& GetNodes() const { return nodes; }
    LevelNode* GetNewestNode() const { return nodes.empty() ? nullptr : nodes.back(); }
    TextEntity* GetPrompt() const;
    CSpriteEntity* GetPicture() const { return picture; }
    CSpriteEntity* GetScrollCursor() const;
    bool HasPendingLevel() const { return levelPending; }
    const std::string& GetPendingScene() const { return pendingScene; }
    float GetScrollDelay() const { return scrollDelay; }
    float GetLevelTime() const { return levelTime; }

    // The overview of a new game: the player's record holds only the start
    // node, unscored, and the player has not seen a map yet.
    static bool WantsOverview(const Player& player);
    // The offset of the flight's middle frame from the node: half the
    // difference of the first and last frames' offsets.
    static void MiddleFrameOffset(const NodeAnimationRecord& record, float* dx, float* dy);
    // Of the nodes under the mouse (file order), the one hovered: the
    // smallest depth, and among equal depths the one latest in the file.
    static LevelNode* PickHovered(const std::vector<LevelNode*>& underMouse);

private:
    void ReadMap(const std::string& mapFile);
    bool NodeIsSound(const GlobalMapData::LevelNode& data) const;
    void StartNewestNode();
    bool HandOverToSceneInProgress();
    // Why a saved level's state file cannot be resumed (unreadable, not a
    // scene, an object whose unit it lacks, a task with no object or with one
    // the scene lacks), or empty when it can. Every state the game writes
    // passes.
    static std::string StateFileFault(const std::string& path);
    // The time and cigars a level starts with, from the map file (where it
    // gives them).
    void GiveLevelStart(Player& player) const;
    void MakePrompt();
    void EdgeScroll(float dt, float mx, float my);
    void UpdateHover(float mx, float my);
    void Hover(LevelNode* node);
    void EndHover();
    void OverviewZoom(float dt);
    void ClickNode();
    void LeaveOverview();
    void OpenTutorialWhenReady();
    void HandOverToLevel();
    void FlightStep(float dt);
    void UpdateScrollCursor(float mx, float my);
    void StartLevel();
    void ShowStarOnNewest();
    void MoveBanner(LevelNode* node, const NodeAnimationRecord& record);
    void StickBanner(LevelNode* node, const NodeAnimationRecord& record);
    CEntity* MakeBannerFrame(const std::string& staff, const std::string& banner, DWORD color, float px, float py);
    void SetMapScale(float s);
    void KillOrphans();
    void SetEngineCursor(bool on);

    std::string pendingScene;
    int pendingScore = 0;
    bool levelPending = false;
    CSpriteEntity* picture = nullptr;
    std::vector<LevelNode*> nodes;
    LevelNode* hovered = nullptr;
    DWORD hoveredColor = 0xFFFFFFFF;
    int hoveredBlend = 0;
    float scrollSpeed = 0.0f;
    float scrollHeading = 0.0f;
    float scrollDelay = kScrollDelay;
    bool lostFocus = false;
    std::vector<std::string> unreached;
    bool clicksAllowed = true;
    bool tutorialPending = false;
    bool nodesRevealed = false;
    float levelTime = 0.0f;
    int cigarCount = 0;
    bool hasLevelTime = false;
    bool hasCigarCount = false;
    float arrowAngle = 0.0f;
    bool arrowShown = false;
    std::map<std::string, NodeAnimationRecord> records;
    CSpriteEntity* scrollCursor = nullptr;
    std::weak_ptr<void> scrollCursorAlive;
    LevelNode* chosen = nullptr;
    float targetScale = 1.0f;
    float scaleRate = 0.0f;
    float targetX = 0.0f;
    float targetY = 0.0f;
    float moveSpeed = 0.0f;
    bool panning = false;
    LevelNode* questionNode = nullptr;
    TextEntity* prompt = nullptr;
    std::weak_ptr<void> promptAlive;
    GameManager::Timer timer;

    // How fast the overview zooms in by itself (process-wide); every new map
    // starts it again.
    static float overviewZoomSpeed;
};

// Saves every player profile (the level calls it when it leaves for the map).
void SavePlayers();

}  // namespace ZOLTFramework
