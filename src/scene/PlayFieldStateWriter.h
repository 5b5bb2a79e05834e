// The state of a scene left unfinished, written as a scene document the loader
// reads in place of the scene file: the document the scene was read from,
// without the objects taken out (and the units only they used), with the rule
// sections written anew from the rules as they stand (tasks, conditions, the
// names kept off the counters and the hints, the lock of a tutorial with its
// arrow's angle in degrees), the pairs, the objects put off for later and the
// bag (what lies in it, the item in hand, what flies into it, each once).
#pragma once

#include <string>

#include "engine/XMLDocument.h"

class Inventory;
class Player;
class PlayFieldFlights;
class PlayFieldPointer;
class SceneObjectList;
class SceneRules;

class PlayFieldStateWriter {
public:
    PlayFieldStateWriter(const SceneRules& sceneRules, const SceneObjectList& sceneObjects, const Inventory& sceneBag,
                         const PlayFieldPointer& fieldPointer, const PlayFieldFlights& fieldFlights)
        : rules(sceneRules), objects(sceneObjects), bag(sceneBag), pointer(fieldPointer), flights(fieldFlights) {}

    // Fills the empty root of the state document from the scene's root.
    void Write(const XMLDocument::XMLElement& sceneRoot, XMLDocument::XMLElement& stateRoot) const;

    // The state file of the save file's level in progress.
    static std::string StateFilePath(const std::string& saveFile);
    // The player's level in progress is over (won, lost or left): it is named
    // no more; the next save of the players removes its state file.
    static void ForgetStateFile(Player& player);

private:
    void WriteRules(XMLDocument::XMLElement& root) const;
    void WriteBag(XMLDocument::XMLElement& root) const;

    const SceneRules& rules;
    const SceneObjectList& objects;
    const Inventory& bag;
    const PlayFieldPointer& pointer;
    const PlayFieldFlights& flights;
};
