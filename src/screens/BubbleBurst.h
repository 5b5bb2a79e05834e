// One burst of a bubble column (an animation whose last frame is empty): the
// column rests on that frame for the pause, then plays once from frame 0, and
// when the play is over the next step runs (the column's next cycle). Every
// step is an entry of the given timer owned by the column, so a column that
// dies takes its pending steps with it.
#pragma once

#include <functional>

namespace ZOLTFramework {

class CAnimEntity;
namespace GameManager {
class Timer;
}

void ScheduleBubbleBurst(GameManager::Timer& timer, CAnimEntity* column, float pause, std::function<void()> next);

}  // namespace ZOLTFramework
