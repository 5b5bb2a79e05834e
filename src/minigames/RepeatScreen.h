// The repeat game: a growing prefix of a random symbol sequence is shown in a
// row of cells and the player repeats it on the palette buttons; every correct
// repetition shows one symbol more, a wrong press starts a new sequence, and
// repeating the whole sequence wins.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "minigames/MiniGameScreen.h"

class RepeatScreen : public MiniGameScreen {
public:
    RepeatScreen(const std::string& path, ZOLTFramework::CQuestionListener* level);
    ~RepeatScreen() override;

    void Update(float dt) override;
    void Render() override;

    virtual void NewSequence();
    // The palette's sprite name for a symbol (an unknown one enters an empty name).
    virtual std::string GetCellName(int index);

    const std::vector<int>& GetSequence() const { return sequence; }
    float GetShowTime() const { return showTime; }
    float GetWaitTime() const { return waitTime; }
    // The picture shown on a win is the child "FinishPicture".
    // Screen position of cell i.
    float CellX(int i) const;
    float CellY(int i) const;

protected:
    void OnSkip() override;
    void OnGameButton(const std::string& message) override;

private:
    void BuildWidgets();
    void DrawSymbols(const std::vector<int>& symbols, int count);

    int shownLength = 1;
    int inputCount = 0;
    float showTime = 0.0f;
    std::vector<int> sequence;
    std::vector<int> input;
    float waitTime = 0.0f;
    ZOLTFramework::CSpriteEntity* finishPicture = nullptr;
    int cellNumber = 1;
    int rowLength = 1;
    int variantNumber = 1;
    float offsetX = 0.0f;
    float cellWidth = 0.0f;
    float offsetY = 0.0f;
    float cellHeight = 0.0f;
    std::map<int, std::string> palette;
};
