// The repeat game ("5.2.xml"): any bytes as its file. The first symbol is
// repeated, then the first two, then a wrong symbol starts over; the rest is
// skipped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzMiniGame.h"
#include "minigames/RepeatScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const std::string path = FuzzFile("5.2.xml", data, size);
    FuzzPlayMiniGame<RepeatScreen>(path, [](RepeatScreen* screen) {
        std::weak_ptr<void> alive = screen->GetLifeToken();
        // What a palette button's click sends: its message, the symbol.
        auto press = [&](int symbol) {
            if (!alive.expired()) screen->OnButtonPress(std::to_string(symbol));
        };
        auto shown = [&] {
            return FuzzFramesUntil(
                [&] { return alive.expired() || (screen->GetShowTime() <= 0.0f && screen->GetWaitTime() <= 0.0f); },
                4.0f);
        };
        for (int length = 1; length <= 2 && shown() && !alive.expired(); ++length) {
            const std::vector<int> sequence = screen->GetSequence();
            for (int i = 0; i < length && i < int(sequence.size()); ++i) press(sequence[size_t(i)]);
            FuzzGame().Frames(2);
        }
        if (shown() && !alive.expired() && !screen->GetSequence().empty()) press(screen->GetSequence()[0] + 1);
        if (!alive.expired()) FuzzGame().Frames(2);
    });
    return 0;
}
