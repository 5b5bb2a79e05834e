// The lens layer of the play field: draws, above the scene, the lens look of
// every object that enrolled in this frame (magnified around the mouse, seen
// only through the lens mask), the lens frame "MagnifyingGlassTool" at the lens
// point, and the play field's cursor at the mouse. In the split view of a
// find-the-differences scene each object's lens look and the frame are drawn a
// second time around the mirrored point in the other half (300 pixels up or
// down), and the mirrored cursor beside the cursor. The layer knows the
// objects only by the drawings of their lens looks that they enrol.
#pragma once

#include <functional>
#include <vector>

#include "entities/core/CEntity.h"
#include "platform/hge.h"

class hgeSprite;

// What enrols in the lens layer for a frame: the drawing of a scene object's
// lens look, magnified around the mouse moved by the offset; the second pass
// draws the look of the picture's other half.
using LensDrawing = std::function<void(float mouseOffsetX, float mouseOffsetY, bool secondPass)>;

class SceneObjectsLayer : public ZOLTFramework::CEntity {
public:
    SceneObjectsLayer() = default;
    // Frees the mirrored cursor sprite and its texture; enrolled objects stay.
    ~SceneObjectsLayer() override;

    void Render() override;

    // The mouse offset of the mirrored point for a mouse at screen y.
    static float MirrorOffset(float mouseY) { return mouseY >= 300.0f ? -300.0f : 300.0f; }

    void Enrol(LensDrawing drawing) { enrolled.push_back(std::move(drawing)); }
    void ClearEnrolled() { enrolled.clear(); }
    const std::vector<LensDrawing>& GetEnrolled() const { return enrolled; }

    void SetSplitView(bool on) { splitView = on; }
    // Not owned; null draws no cursor.
    void SetCursorSprite(hgeSprite* sprite) { cursorSprite = sprite; }
    hgeSprite* GetCursorSprite() const { return cursorSprite; }
    // Takes the sprite and its texture (freed with the layer).
    void SetMirroredCursorSprite(hgeSprite* sprite, HTEXTURE texture);
    void SetMirroredCursor(bool on) { mirroredCursor = on; }
    void SetLensPosition(float lx, float ly) {
        lensX = lx;
        lensY = ly;
    }
    float GetLensX() const { return lensX; }
    float GetLensY() const { return lensY; }

private:
    bool splitView = false;
    hgeSprite* cursorSprite = nullptr;
    hgeSprite* mirroredCursorSprite = nullptr;
    HTEXTURE mirroredCursorTexture = 0;
    bool mirroredCursor = false;
    float lensX = 0.0f;
    float lensY = 0.0f;
    std::vector<LensDrawing> enrolled;
};
