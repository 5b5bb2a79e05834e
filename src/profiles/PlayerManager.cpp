#include "profiles/PlayerManager.h"

#include <algorithm>
#include <iterator>

namespace {

std::unique_ptr<PlayerManager>& TheInstance() {
    static std::unique_ptr<PlayerManager> instance;
    return instance;
}

const char* const kFishKinds[] = {"Fish01", "Fish02", "Fish03", "Fish04", "Fish05", "Fish06", "Fish07",
                                  "Fish08", "Fish09", "Shark",  "Fish1",  "Goldfish", "Scat"};

}  // namespace

PlayerManager* PlayerManager::Instance() {
    std::unique_ptr<PlayerManager>& instance = TheInstance();
    if (!instance) instance.reset(new PlayerManager());
    return instance.get();
}

bool PlayerManager::HasInstance() { return TheInstance() != nullptr; }

PlayerManager::PlayerManager() : FishKinds(std::begin(kFishKinds), std::end(kFishKinds)) {
    // The shared timer joins the running engine's entity manager at once.
    Timer.Get();
}

PlayerManager::~PlayerManager() { Forget(); }

void PlayerManager::Forget() {
    // The fish belong to the entity manager, which may be gone already.
    m_fish.clear();
    for (Player* player : Players) delete player;
    for (Player* player : m_removed) delete player;
    Players.clear();
    m_removed.clear();
    std::fill(std::begin(m_diskOwner), std::end(m_diskOwner), nullptr);
    m_loaded = false;
    m_saveBlocked = false;
}

void PlayerManager::SetSavePath(const std::string& folder) { SaveFolder = folder; }

void PlayerManager::SetUsersFile(const std::string& name) { UsersFile = SaveFolder + name; }

int PlayerManager::SlotOf(const Player& player) const { return SaveSlots::IndexOf(SaveFolder, player.SaveFile); }

bool PlayerManager::AddPlayer(std::string name) {
    bool used[SaveSlots::kSlotCount] = {};
    for (const Player* player : Players) {
        if (player->Name == name) return false;
        const int slot = SlotOf(*player);
        if (slot >= 0) used[slot] = true;
    }
    const bool* freeSlot = std::find(std::begin(used), std::end(used), false);
    if (freeSlot == std::end(used)) return false;
    const int slot = static_cast<int>(freeSlot - std::begin(used));
    Players.push_back(new Player(name, SaveSlots::SlotPath(SaveFolder, slot)));
    return true;
}

bool PlayerManager::RemovePlayer(std::string name) {
    auto it = std::find_if(Players.begin(), Players.end(), [&](const Player* p) { return p->Name == name; });
    if (it == Players.end()) return false;
    m_removed.push_back(*it);
    Players.erase(it);
    return true;
}

bool PlayerManager::SetActivePlayer(std::string name) {
    auto it = std::find_if(Players.begin(), Players.end(), [&](const Player* p) { return p->Name == name; });
    if (it == Players.end()) return false;
    for (Player* player : Players) player->IsActive = false;
    (*it)->IsActive = true;
    return true;
}

Player* PlayerManager::GetActivePlayer() const {
    auto it = std::find_if(Players.begin(), Players.end(), [](const Player* p) { return p->IsActive; });
    return it == Players.end() ? nullptr : *it;
}
