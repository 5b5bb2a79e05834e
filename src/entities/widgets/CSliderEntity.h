// A horizontal slider: a track (the slider's hit rectangle) and a handle (its
// cursor child) with a value from 0 to 1. A press on the track or a drag of the
// handle changes the value and reports it to the listener.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"
#include "entities/core/Listeners.h"

namespace ZOLTFramework {

class CSlCurEntity;

class CSliderEntity : public CGUIEntity, public CSlCurListener {
public:
    // Creates the cursor as a child (depth 2) and hands it to the entity manager.
    CSliderEntity(const std::string& sliderName, CSliderListener* listener);
    ~CSliderEntity() override = default;

    void Render() override;
    // A press sets the value from the mouse and moves the cursor there (even
    // outside the track); a release does nothing.
    void OnLeftButton(bool down) override;
    // While the cursor is dragged: follows the mouse strictly inside the track.
    void OnCursorMoved() override;

    // Clamped to [0, 1]; moves the cursor; no listener call. Nothing without a cursor.
    void SetValue(float v);

    void SetSpriteName(const std::string& n) { spriteName = n; }
    void SetCursorSpriteName(const std::string& n);
    // The track: a w x h hit rectangle centred on the absolute position.
    void SetSizeCentered(float w, float h) { SetRectCentered(w, h); }
    // The cursor's hit rectangle, w x h centred on the slider.
    void SetCursorSizeCentered(float w, float h);
    CSlCurEntity* GetCursor() const;
    void SetListener(CSliderListener* l) { listener = l; }

private:
    // The value for a mouse X over the track, clamped to [0, 1].
    float ValueAt(float mouseX) const;
    void Report();

    CSliderListener* listener;
    std::string spriteName;
    CSlCurEntity* cursor = nullptr;
    float value = 0.0f;
};

}  // namespace ZOLTFramework
