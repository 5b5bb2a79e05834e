// The two-part puzzle: pictures are dragged into free slots of two groups
// (the three watchman's tools on the left, everything else on the right).
// Every placement scores 1000 points, 500 after a failed drop of the same
// picture; when the last picture is placed the cleaner flies to the middle.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "minigames/MiniGameScreen.h"

class PuzzlePiece;

class Puzzle2tScreen : public MiniGameScreen {
public:
    Puzzle2tScreen(const std::string& path, ZOLTFramework::CQuestionListener* level);
    ~Puzzle2tScreen() override;

    void Update(float dt) override;

    void GrabPiece(float px, float py);
    // Every playable piece on an opaque pixel at the point, by depth ascending.
    void PieceAt(float px, float py, std::vector<PuzzlePiece*>& result) const;
    static bool ComparePieces(const PuzzlePiece* a, const PuzzlePiece* b);
    // The drop test for the held piece.
    void CheckSolution();

    using Slot = std::pair<float, float>;
    const std::vector<PuzzlePiece*>& GetPlayablePieces() const { return playable; }
    const std::vector<Slot>& GetLeftSlots() const { return leftSlots; }
    const std::vector<Slot>& GetRightSlots() const { return rightSlots; }
    // A piece (the cleaner too) by its picture's resource name, or null.
    PuzzlePiece* FindPiece(const std::string& resourceName) const;
    static bool IsToolName(const std::string& resourceName);
    // Decor: the cleaner, the helpers, the frames, the icons and the slot
    // markers ("Cleaner", "Helper", "ramko", "iconko", "slut"); every other
    // picture is placed.
    static bool IsDecorName(const std::string& resourceName);

protected:
    void AfterBuild() override;
    void OnSkip() override;

private:
    void LoadPieces(const std::string& sceneFile);
    void ReadStartPositions(const std::string& file);
    void Finished();

    bool rotatable = false;
    float dockDistance = 0.0f;
    float dockAngle = 0.0f;
    std::vector<PuzzlePiece*> playable;
    PuzzlePiece* hovered = nullptr;
    PuzzlePiece* held = nullptr;
    float grabX = 0.0f;
    float grabY = 0.0f;
    PuzzlePiece* widest = nullptr;
    float boardX1 = 0.0f, boardY1 = 0.0f, boardX2 = 0.0f, boardY2 = 0.0f;
    bool dockingLocked = true;
    bool building = true;
    bool noScale = false;
    bool hasAngleStep = false;
    int angleSteps = 0;  // whole steps in a turn, at most FileNumbers::kMaxCount
    float angleStep = 0.0f;
    std::vector<Slot> leftSlots;
    std::vector<Slot> rightSlots;
    std::map<std::string, unsigned char> tried;
    PuzzlePiece* cleaner = nullptr;
    bool finished = false;
};
