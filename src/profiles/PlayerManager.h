// The one owner of the player profiles (at most eight, one save slot each) and
// of a few services shared by the screens: the active player, the paths of the
// users file and the profile documents, the shared delayed-call timer and the
// fish of the menu aquarium.
//
// Files: the users file (save folder + "data\users.xml") lists the players with
// their counters; each player's collections lie in its profile document, one of
// save folder + "data\Map\1.xml" to "8.xml". A document that cannot be read is
// kept aside as "<file>.bad", never overwritten. Saving writes the profile
// documents before the users file, so a save cut short leaves the users file
// naming documents that hold its own players' progress.
//
// Lifetime: the process-wide manager goes at process exit, after the engine.
// It then touches neither the timer (the entity manager deleted it) nor the
// fish (they died with the entity manager); it frees every player record,
// removed ones included.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "profiles/Player.h"
#include "profiles/SaveSlots.h"
#include "profiles/SharedTimer.h"

namespace ZOLTFramework {
class CEntity;
}

class PlayerManager {
public:
    using CEntity = ZOLTFramework::CEntity;

    // The process-wide manager, made on the first call.
    static PlayerManager* Instance();
    // True once Instance has made the manager (shut-down code asks this rather
    // than making a manager only to save nothing).
    static bool HasInstance();

    // A manager of its own (tests); the game uses Instance.
    PlayerManager();
    PlayerManager(const PlayerManager&) = delete;
    PlayerManager& operator=(const PlayerManager&) = delete;
    ~PlayerManager();

    // The storage folder, ending in a path separator (or empty: the program folder).
    void SetSavePath(const std::string& folder);
    // UsersFile = save folder + name (start-up passes "data\users.xml").
    void SetUsersFile(const std::string& name);

    // Reads the users file and each player's profile document; players are
    // appended to the list. A missing users file is a first run.
    void Load();
    // Writes every profile document, then the users file.
    void Save();
    // True once Load has run: only then may Save replace the files.
    bool IsLoaded() const { return m_loaded; }
    // Forgets every player (removed ones included) and what the files on disk
    // were read as, as a new process starts; the files stay as they are. An
    // application calls it before it loads the players, so a game started
    // again in the same process reads them afresh.
    void Forget();

    // A new player in the first free save slot, not active. False when the name
    // is listed (exact comparison) or all eight slots are in use.
    bool AddPlayer(std::string name);
    // Takes the first player of that name out of the list (the record stays
    // valid until the manager goes). False when there is none.
    bool RemovePlayer(std::string name);
    // Makes the first player of that name the only active one. False, nothing
    // changed, when there is none.
    bool SetActivePlayer(std::string name);
    // The first active player in list order, or null.
    Player* GetActivePlayer() const;

    // ---- the menu aquarium

    // One fish of a random kind, child of parent, swimming across the screen
    // between the y band's ends in a random time of the given range; when its
    // swim ends it goes, and with respawn a new one follows. Nothing when the
    // kinds list is empty or the parent is dead.
    void SpawnFishCallback(bool randomStart, CEntity* parent, float yMin, float yMax, float timeMin, float timeMax,
                           bool respawn);
    // The end of a fish's swim: with respawn, a new fish is scheduled under the
    // same parent (y band 0 to 600); the fish is killed. Nothing when the fish
    // is no longer in the aquarium.
    void FishGoneCallback(CEntity* fish, bool respawn, float timeMin, float timeMax);
    // Kills every fish at once; their pending calls then do nothing.
    void KillEntities();
    // Schedules SpawnFishCallback on the shared timer; the call is dropped when
    // the parent dies first.
    void ScheduleFish(float delay, bool randomStart, CEntity* parent, float yMin, float yMax, float timeMin,
                      float timeMax, bool respawn);
    // The fish alive now.
    std::vector<CEntity*> GetFish();

    // Name of the level music track in use ("music1" to "music3").
    std::string CurrentMusic;
    // All profiles, in load order, then in order of creation.
    std::vector<Player*> Players;
    // The shared delayed-call timer: PlayerManager::Instance()->Timer->Add(...).
    SharedTimer Timer;
    // Full path of the users file.
    std::string UsersFile;
    // Animation names of the aquarium fish.
    std::vector<std::string> FishKinds;
    // The storage folder the files lie below.
    std::string SaveFolder;

private:
    // The slot (0 to 7) of a player's profile document, -1 when none.
    int SlotOf(const Player& player) const;
    // Deletes the temporary files a save cut short (process killed) left
    // beside the users file and the profile documents.
    void RemoveUnfinishedSaves();
    // Sets the users file and the eight profile documents aside ("*.bad").
    bool KeepAsideAll();
    // The player's level state file goes once the profile document just
    // written no longer names it (its level won, lost or left): not before,
    // or a save cut short would leave the profile on disk naming no file.
    void DropUnnamedState(const Player& player);
    // Loads one player's profile document into the record.
    void LoadProfile(Player& player);
    // The users file as the disk should list it now: the players whose slot
    // the users file already names them for (release) or every player.
    bool WriteUsersFile(bool releaseOnly, const std::vector<bool>& omitted);
    // Removes fish that died since the last look.
    void PruneFish();

    bool m_loaded = false;
    bool m_saveBlocked = false;
    // Records taken out of the list; freed with the manager.
    std::vector<Player*> m_removed;
    // The player the users file on disk names for each slot (null: none).
    Player* m_diskOwner[SaveSlots::kSlotCount] = {};
    // Live fish and their life tokens (a fish may be deleted behind our back).
    std::map<CEntity*, std::weak_ptr<void>> m_fish;
};
