// The small callback interfaces that widgets and screens report to. Each has
// empty default bodies; screens and widgets mix them in and override what they
// need. (The timer listener lives with the timers.)
#pragma once

#include <string>

namespace ZOLTFramework {

class CEntity;

// Buttons report with their own entity name.
class CButtonListener {
public:
    virtual void OnButtonPress(const std::string& name) {}
    virtual void OnButtonRelease(const std::string& name) {}
    virtual void OnButtonOver(const std::string& name) {}
    virtual void OnButtonLeave(const std::string& name) {}
    // OnButtonOver when the mouse came onto the button, else OnButtonLeave.
    void OnButtonHover(const std::string& name, bool entered) {
        if (entered)
            OnButtonOver(name);
        else
            OnButtonLeave(name);
    }

protected:
    ~CButtonListener() = default;
};

// Dialogs answer with OnAnswer (the question id is the dialog's name); named
// messages with one value use OnQuestion.
class CQuestionListener {
public:
    virtual void OnQuestion(const std::string& name, const std::string& value) {}
    virtual void OnAnswer(const std::string& questionId, bool yes) {}

protected:
    ~CQuestionListener() = default;
};

class CListboxListener {
public:
    virtual void OnListboxSelect(const std::string& listboxName, const std::string& text) {}

protected:
    ~CListboxListener() = default;
};

class CSliderListener {
public:
    // value in [0, 1]
    virtual void OnSliderChanged(const std::string& sliderName, float value) {}

protected:
    ~CSliderListener() = default;
};

class CSlCurListener {
public:
    virtual void OnCursorMoved() {}

protected:
    ~CSlCurListener() = default;
};

class CBrickListener {
public:
    virtual void OnBrickSelected(CEntity* brick) {}
    virtual void OnBrickRemoved(CEntity* brick) {}

protected:
    ~CBrickListener() = default;
};

class CFieldListener {
public:
    virtual void OnFieldCleared() {}
    virtual void OnFieldSolved() {}

protected:
    ~CFieldListener() = default;
};

}  // namespace ZOLTFramework

// The two-state trigger button reports its state changes here.
class TriggerListener {
public:
    virtual void OnTriggerChanged(const std::string& name, bool on) {}

protected:
    ~TriggerListener() = default;
};
