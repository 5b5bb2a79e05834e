// The kind of a scene: what its root's "type" (with its "extra_type") changes
// in how the scene is played. It is decided once, where the scene file is
// read, by the registry below (as the screen factory makes screens by kind);
// the play field and the level's panel ask it what differs: where a press
// lands in the picture, whether the picture is two mirrored halves, how the
// panel shows what is left to find, and the help text.
//
// A new kind: derive from SceneKind, answer what differs, and register a maker
// under the root "type" that names it (SceneKind::Register).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/XMLDocument.h"

class SceneKind {
public:
    // The root's "type" values of the shipped kinds.
    static constexpr const char* kFindAll = "FindAll";
    static constexpr const char* kFindDifferences = "FindDifferences";

    // How the panel shows what is left: a line for each clue, or one count of
    // the things still to find.
    enum class Clues { List, Count };

    // Makes the kind from the root's "extra_type" ("", "UseItems", "Measure").
    using Maker = std::function<std::unique_ptr<SceneKind>(const std::string& extraType)>;

    // The kind the root's "type" names; a root without one, or with one no kind
    // is registered for, plays as "FindAll" (the latter with a Warning row).
    static std::unique_ptr<SceneKind> Of(const XMLDocument::XMLElement& root, const std::string& file);
    // Registers (or, with an empty maker, withdraws) the kind of a "type".
    static void Register(const std::string& type, Maker maker);

    explicit SceneKind(std::string extraType) : extra(std::move(extraType)) {}
    virtual ~SceneKind() = default;
    SceneKind(const SceneKind&) = delete;
    SceneKind& operator=(const SceneKind&) = delete;

    // The picture is two halves one above the other, each the mirror of the
    // other's place: the cursor, the lens and a miss show in both, and a line
    // divides them.
    virtual bool IsSplit() const { return false; }
    // The scene point of a press at a screen point (the mouse times 1.28); in
    // a split picture a press in the lower half is the upper half's point.
    virtual void ScenePoint(float screenX, float screenY, float& sceneX, float& sceneY) const;
    // The screen y of the same place in the other half; the y itself when the
    // picture is whole.
    virtual float MirrorY(float screenY) const { return screenY; }
    virtual Clues ClueLayout() const { return Clues::List; }
    // The text key that stands in place of the clues ("" for none): a scene
    // played with the bag's items or the measuring tool says so.
    std::string CluesTextKey() const;
    // The text key of the help window.
    virtual std::string HelpKey() const;

protected:
    std::string extra;  // the root's "extra_type"
};
