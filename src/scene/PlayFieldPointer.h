// The mouse on the play field: the cursor (plain, the magnifying glass, or an
// item from the bag in hand, with its twin in the other half of a split
// picture) and the one kept while the mouse is outside; the play and hover
// cursor animations the objects layer draws; the lens under the glass; the
// flashlight of a dark scene; the measuring tool of the crime scene; and the
// lock of a tutorial on one object, with the arrow that points at it.
//
// The pointer hangs its entities (the held item, the arrow, the flashlight,
// the measuring tool) from the field and scales the field up under the glass.
// It reads the scene's objects and rules, asks the scene's kind whether the
// picture is split, and hands an item put down by a change of cursor to
// `putBack` as a scene object of the field, to fly back into the bag.
#pragma once

#include <functional>
#include <string>

namespace ZOLTFramework {
class CEntity;
class CSpriteEntity;
}  // namespace ZOLTFramework

class hgeAnimation;
class SceneKind;
class SceneObject;
class SceneObjectList;
class SceneObjectsLayer;
class SceneRules;
class TextEntity;

class PlayFieldPointer {
public:
    enum ECursorType { CURSOR_PLAIN = 0, CURSOR_MAGNIFYING_GLASS = 1, CURSOR_HELD_ITEM = 2 };

    struct CursorState {
        ECursorType kind = CURSOR_PLAIN;
        ZOLTFramework::CSpriteEntity* entity = nullptr;        // the held item at the mouse
        ZOLTFramework::CSpriteEntity* mirrorEntity = nullptr;  // its twin in the other half
        std::string spriteName;
        std::string itemName;
    };

    static constexpr float kLensScale = 1.664f;
    // The depth of the flashlight's dark: over everything else of the field.
    static constexpr float kDarkDepth = 999999.0f;
    // The held item's picture at the mouse, and its twin in a split picture.
    static constexpr const char* kHeldItemName = "HeldItem";
    static constexpr const char* kHeldItemTwinName = "HeldItemTwin";
    // The unit whose picture is the measuring tool's compass.
    static constexpr const char* kMeasuringUnit = "compass_Crime_place_measure";

    // Takes the cursor animations "PlayCursor" (the objects layer's cursor from
    // now on) and "DiffCursor" (at its last frame).
    PlayFieldPointer(ZOLTFramework::CEntity& field, SceneObjectsLayer& layer, const SceneKind& kind,
                     const SceneObjectList& objects, const SceneRules& rules,
                     std::function<void(SceneObject*)> putBack);

    const CursorState& Cursor() const { return cursor; }
    // A held item put down goes back to the bag first; the glass scales the
    // field up (the flashlight and the measuring tool keep their size); the
    // plain cursor shows the play or hover animation unless the mouse is out.
    void SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName);
    // The held item leaves the hand without being put down.
    void DropHeldItem();
    // The cursor as it is now comes back when the mouse re-enters.
    void KeepCursor();
    // The mouse leaves the field: the cursor is kept, the plain one shown by
    // the system. It enters: the field's cursor again, the kept one back
    // unless an item is or was in hand.
    void Leave();
    void Enter();
    // The cursor animations turn transparent (false) or opaque (true).
    void ShowCursors(bool shown);
    // The mouse is over an opaque texel (alpha above 0x3C) of an object named by a tool task.
    bool CheckHoverObject() const;

    // Each frame the field runs, at the mouse: the flashlight, the measuring
    // tool and the hover cursor (Step); after the flights, the lens and the
    // held item (Follow).
    void Step(float dt, float mouseX, float mouseY);
    void Follow(float mouseX, float mouseY);

    // The dark of a lamp-lit scene around the mouse, right of `sceneLeft`.
    void AddFlashlight(std::function<float()> sceneLeft);
    // The compass, its cursor, the line between them and the reading, hidden.
    void BuildMeasuringTool();
    // A press shows the measuring tool (on the compass) or, on its mark with
    // the reading "2.0", hides it: true then (the scene is won).
    bool PressMeasuringTool(float mouseX, float mouseY);

    // The lock of a tutorial: only the object can be clicked.
    void Lock(const std::string& taskName, SceneObject* object) {
        lockedTask = taskName;
        locked = object;
    }
    // The lock and its arrow end.
    void Unlock();
    SceneObject* LockedObject() const { return locked; }
    const std::string& LockedTask() const { return lockedTask; }
    // The bouncing arrow "YCursor" beside the object, at the angle (radians).
    void PointAt(SceneObject* object, float angle);
    // The object is deleted.
    void Forget(SceneObject* object) {
        if (locked == object) locked = nullptr;
    }

private:
    struct MeasuringTool {
        ZOLTFramework::CSpriteEntity* compass = nullptr;
        ZOLTFramework::CSpriteEntity* cursor = nullptr;
        ZOLTFramework::CSpriteEntity* line = nullptr;
        TextEntity* text = nullptr;
        float referenceX = 351.0f;  // the mark it measures against
        float referenceY = 550.0f;
        bool Built() const { return compass && cursor && line && text; }
    };

    void PutHeldItemBack(float mouseX, float mouseY);
    void StepHoverCursor(float dt);
    void StepMeasuringTool(float mouseX, float mouseY);
    hgeAnimation* IdleCursor() const { return CheckHoverObject() ? hoverCursor : playCursor; }

    ZOLTFramework::CEntity& field;
    SceneObjectsLayer& layer;
    const SceneKind& kind;
    const SceneObjectList& objects;
    const SceneRules& rules;
    std::function<void(SceneObject*)> putBack;

    CursorState cursor;
    CursorState kept;
    bool mouseOutside = false;
    hgeAnimation* playCursor = nullptr;   // "PlayCursor"
    hgeAnimation* hoverCursor = nullptr;  // "DiffCursor"
    ZOLTFramework::CSpriteEntity* flashlight = nullptr;
    MeasuringTool measure;
    SceneObject* locked = nullptr;
    std::string lockedTask;
    ZOLTFramework::CEntity* arrow = nullptr;
};
