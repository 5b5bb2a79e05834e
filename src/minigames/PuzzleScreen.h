// The general puzzle: pieces from a scene file are dragged, turned or clicked
// onto their targets; options of the mini-game file make it a drag puzzle, a
// search, a match-pairs game, a tool-on-partner puzzle or a find-the-
// differences game with a mirrored cursor. The last docked piece solves it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "minigames/MiniGameScreen.h"

class PuzzlePiece;

class PuzzleScreen : public MiniGameScreen {
public:
    PuzzleScreen(const std::string& path, ZOLTFramework::CQuestionListener* level);
    ~PuzzleScreen() override;

    void Update(float dt) override;

    // The docking rule for a dropped piece.
    void OnPieceDropped(PuzzlePiece* piece);
    void DropHeldPiece();

    const std::vector<PuzzlePiece*>& GetLoosePieces() const { return loose; }
    // The mirrored cursor of a find-the-differences game is the child
    // "DifferenceCursor".
    bool IsSolved() const { return solved; }
    // The topmost loose piece on an opaque pixel at the point, or null.
    PuzzlePiece* PieceAt(float px, float py) const;

protected:
    void AfterBuild() override;
    void OnSkip() override;
    void BeforeButton(const std::string& message) override;
    void OnEnded() override;

private:
    void ReadOptions();
    void LoadPieces(const std::string& sceneFile);
    float DrawStartAngle();
    void ReadStartPositions(const std::string& file);
    void DockSilently(PuzzlePiece* piece);
    // Moves the piece to the docked ones and applies the dock's effects;
    // solves when no loose piece is left.
    void Dock(PuzzlePiece* piece);
    void Solve();
    void Grab(PuzzlePiece* piece, float px, float py);
    void HoverPass(float px, float py, bool leftHeld);
    void MatchClick();
    void StartTurn(PuzzlePiece* piece);
    void EndTurn(PuzzlePiece* piece);
    void ScheduleIdle(float delay);
    void RunIdle();
    void Pulse(PuzzlePiece* piece);
    void Fade(ZOLTFramework::CEntity* entity, float from, float to);
    bool IsLoose(PuzzlePiece* piece) const;
    void Highlight(PuzzlePiece* piece, unsigned long colour, int blend);

    struct Turn {
        ZOLTFramework::CEntity* effector;
        float target;
    };
    // Pieces that are turning, with their turn and its end angle.
    std::map<PuzzlePiece*, Turn> rotating;
    bool rotatable = false;
    float dockDistance = 0.0f;
    float dockAngle = 0.0f;
    std::vector<PuzzlePiece*> loose;
    std::vector<PuzzlePiece*> docked;
    ZOLTFramework::CSpriteEntity* differenceCursor = nullptr;
    PuzzlePiece* hovered = nullptr;
    PuzzlePiece* held = nullptr;
    float grabX = 0.0f;
    float grabY = 0.0f;
    float grabAngle = 0.0f;
    PuzzlePiece* widest = nullptr;
    PuzzlePiece* showOnWin = nullptr;
    float boardX1 = 0.0f, boardY1 = 0.0f, boardX2 = 0.0f, boardY2 = 0.0f;
    float rotationStep = 1.5707964f;
    bool hasAngleStep = false;
    float angleStepDegrees = 0.0f;
    int angleSteps = 0;  // whole steps in a turn, at most FileNumbers::kMaxCount
    std::vector<float> ignoredDegrees;
    bool keepToolVisible = false;
    bool movingEnabled = true;
    bool rotateOnDrag = false;
    bool dropOnClick = false;
    bool matchPairs = false;
    std::string objToFind;
    PuzzlePiece* firstSelected = nullptr;
    std::string matchMark;
    std::string showOnWinName;
    std::string differencePanelName;
    float panelX1 = 0.0f, panelY1 = 0.0f, panelX2 = 0.0f, panelY2 = 0.0f;
    int differenceType = -1;
    std::map<PuzzlePiece*, PuzzlePiece*> pairs;
    std::vector<PuzzlePiece*> idleAnimations;
    bool dockingLocked = true;
    bool building = true;
    bool noScale = false;
    float scale = 0.78125f;
    bool rotateOnWin = false;
    bool finishPosAsStartPos = false;
    bool skipped = false;
    bool solved = false;
    bool idleRunning = false;
    std::string musicName;
};
