// Scripted players of the mini-games for tests: each reads the live screen
// (the pieces and their targets, the slots, the shown sequence, the dealt
// bottles) and plays it with mouse input, the way a person would. Frames run
// through the frame driver and input goes in through TestInput, so they work
// on any headless engine that drives its frames from code (the GUI test
// engines and the whole application alike), at any time step.
//
// A typical round over a level:
//   MiniGameScreen* game = WaitForMiniGame();
//   ConfirmMiniGameHelp(game);     // the level's help window, with Enter
//   SolveMiniGame(game);           // or SkipMiniGame / PutOffMiniGame
//   PressMiniGameOk(game);         // fade-out, then the one result
// Each returns false (and adds a test failure) when the game does not go as
// expected; the caller may stop there.
#pragma once

#include <functional>

class MiniGameScreen;
namespace ZOLTFramework {
class CEntity;
}

struct MiniGameSolveOptions {
    // A mistake first: the two-part puzzle drops a tool (else its first
    // thing) on a place of the other kind (it goes back and later scores 500);
    // the repeat game presses a wrong plaque after the first show (a new
    // sequence begins).
    bool mistakeFirst = false;
    // Drag puzzles: each piece is dropped this far from its place, each in
    // another direction (a person laying the pieces together by eye).
    float offBy = 0.0f;
};

// Runs frames until a mini-game screen is on the screen stack (at most the
// seconds); null when none came.
MiniGameScreen* WaitForMiniGame(float seconds = 5.0f);
// Waits for the help window that the game asks its level for once faded in,
// confirms it with Enter and waits until the game has the focus again.
bool ConfirmMiniGameHelp(MiniGameScreen* screen);
// Plays the game to its solved state (the Ok button then shows).
bool SolveMiniGame(MiniGameScreen* screen, const MiniGameSolveOptions& options = MiniGameSolveOptions());
// Presses "Skip" and waits until the solution is shown and Ok stands.
bool SkipMiniGame(MiniGameScreen* screen);
// Presses "Solve later"; with skipInFadeOut "Skip" is pressed in the fade-out
// that follows (it changes nothing). Then runs until the result is sent.
bool PutOffMiniGame(MiniGameScreen* screen, bool skipInFadeOut = false);
// Waits for the Ok button to stand, presses it and runs until the result is
// sent; eachFrame (when given) runs before every frame of the wait after the
// press, while the game fades out.
bool PressMiniGameOk(MiniGameScreen* screen, const std::function<void()>& eachFrame = nullptr);
// ConfirmMiniGameHelp, SolveMiniGame and PressMiniGameOk in a row.
bool PlayMiniGameThrough(MiniGameScreen* screen, const MiniGameSolveOptions& options = MiniGameSolveOptions());

// Frame helpers the players use, for tests that drive a game by hand.
namespace MiniGameInput {
// Frames for that much game time (at least one frame).
void Run(float seconds);
// Frames until the test holds (true) or the game time is up (false).
bool RunUntil(const std::function<bool()>& test, float seconds);
void Click(float x, float y);
void RightClick(float x, float y);
void Drag(float fromX, float fromY, float toX, float toY);
// Clicks the middle of a GUI entity's rectangle.
void ClickEntity(const ZOLTFramework::CEntity* guiEntity);
}  // namespace MiniGameInput
