// Found objects on their way to the panel, the cigars or the bag, and the
// decoration of the field: the bubble tail a flight leaves (handed to the
// particle layer when its object arrives, until it is spent) and the pick and
// miss bursts. A flight pulses first (1.2 s; 0.1 s without a pulse while the
// mouse is over the bag), then follows a curved path to its target; its
// arrival runs once: with the object when it gets there, with null when the
// object or its path went on the way. Each flight is an open item of the
// rules from its start to its arrival; the first to leave a scene without
// tasks closes the level's exit ("DisableExit"). A flight into the bag opens
// it and aims at its next slot; on arrival the bag takes the item.
//
// The flights hang their bursts from the field and play the decoration out
// while the field is paused, from the field's PausedFieldStep, which they take
// over, so that a window over the field leaves no burst or tail frozen. They
// tell `landed` when a find has arrived at the panel or the cigars.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scene/SceneRules.h"

namespace ZOLTFramework {
class CEntity;
}

class hgeParticleSystem;
class Inventory;
class ParticleSystemEntity;
class PausedFieldStep;
class PSLayer;
class SceneObject;
class SceneObjectList;

// A found object on its flight, from its pulse until it arrives. A flight
// that cannot arrive any more (its object or its path gone) ends as if it had
// arrived, without the object, so that its open item and its counters still
// reach their end.
struct FlightRecord {
    SceneObject* object = nullptr;  // null once the object is gone
    std::string objectName;
    float targetX = 0.0f, targetY = 0.0f;  // scene units
    // The arrival; the object is null for a flight that ended on the way.
    std::function<void(SceneObject*)> onArrival;
    bool intoInventory = false;
    float delay = 0.0f;  // seconds until the flight starts; -1 once started
    ZOLTFramework::CEntity* path = nullptr;  // the path followed once started
    std::weak_ptr<void> pathToken;
    unsigned id = 0;
};

class PlayFieldFlights {
public:
    // `pausedStep` is null without an entity manager.
    PlayFieldFlights(ZOLTFramework::CEntity& field, PSLayer& tailLayer, PausedFieldStep* pausedStep, SceneRules& rules,
                     SceneObjectList& objects, Inventory& bag, SceneRules::Events& events, std::function<void()> landed);
    // The paused step goes; the tails still held are taken off the layer (while
    // it lives) and deleted.
    ~PlayFieldFlights();
    PlayFieldFlights(const PlayFieldFlights&) = delete;
    PlayFieldFlights& operator=(const PlayFieldFlights&) = delete;

    // Queues the flight of the object to the scene point; the object is no
    // longer put off for later.
    void Queue(SceneObject* object, float targetX, float targetY, std::function<void(SceneObject*)> onArrival,
               bool intoInventory);
    // Arrival at the panel: the open item back, "TaskChanged", the tail handed
    // over, the object dies; `glass`: "AddMagnifyingGlass" follows.
    void ArriveAtPanel(SceneObject* object, const std::string& taskName, bool glass);
    // Arrival at the cigars: "AddCigars" with the count, the task counted down.
    void ArriveAtCigars(int count, SceneObject* object, const std::string& taskName);
    // Opens the bag and flies the object into its next slot (shrunk on the way
    // when large); `received` takes it on arrival. A flight that ends on the
    // way puts the item into the bag as it left, for the tool and task.
    void SendToBag(SceneObject* object, const std::string& toolName, const std::string& taskName,
                   std::function<void(SceneObject*)> received);
    // The bag takes the item (its picture, object name and scale): the open
    // item back, the tool record gone, the object (when given) dies,
    // "TaskChanged" for the task.
    void ReceiveInBag(const std::string& sprite, const std::string& objectName, float scale, SceneObject* object,
                      const std::string& toolName, const std::string& taskName, bool returnsOpenItem = true);
    // Ends the flights that can no longer arrive, then starts those whose pulse
    // is over (with a bubble tail unless the mouse is over the bag).
    void Start(float dt);
    // Everything on its way arrives now, in the order it left.
    void Land();
    // The object of an arrival hands its tail to the particle layer.
    void HandOverTail(SceneObject* object);
    // A particle burst hung from the field at its local point.
    void Burst(const char* file, const char* sprite, float x, float y, float depth);
    // Drops the spent bursts and steps the tails, dropping the spent ones.
    void PlayOut(float dt) { PlayOutDecoration(dt, false); }
    // The object is deleted: its flight stays listed without it and ends as
    // arrived on the next step.
    void Forget(SceneObject* object);

    const std::list<FlightRecord>& Records() const { return flights; }

private:
    // The path of the flight reached its end.
    void Arrive(unsigned id);
    // Steps the tails (and the bursts too when the field is paused, as the
    // manager steps them otherwise), then drops the spent ones.
    void PlayOutDecoration(float dt, bool paused);

    ZOLTFramework::CEntity& field;
    PSLayer& layer;
    std::weak_ptr<void> layerToken;
    SceneRules& rules;
    SceneObjectList& objects;
    Inventory& bag;
    SceneRules::Events& events;
    std::function<void()> landed;
    std::list<FlightRecord> flights;
    unsigned lastId = 0;
    std::list<hgeParticleSystem*> tails;  // owned
    // The pick and miss bursts: entities of the manager, attached to the field.
    std::vector<std::pair<ParticleSystemEntity*, std::weak_ptr<void>>> bursts;
    PausedFieldStep* pausedStep;  // an entity of the manager
    std::weak_ptr<void> pausedStepToken;
};
