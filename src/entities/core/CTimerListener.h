// Receives the marks of a CTimer as its timeline passes them.
#pragma once

namespace ZOLTFramework {

class CTimerListener {
public:
    virtual void OnTimer(int timerId, int markId) {}

protected:
    // Listeners are mixed into screens and never deleted through this interface.
    ~CTimerListener() = default;
};

}  // namespace ZOLTFramework
