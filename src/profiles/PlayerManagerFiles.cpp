// Reading and writing the users file and the profile documents.
#include <memory>

#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "platform/FileSystem.h"
#include "profiles/PlayerManager.h"
#include "profiles/ProfileDocument.h"
#include "profiles/UsersDocument.h"

namespace {

// Why the document cannot be taken in: it cannot be read, or it is another
// kind of document (its root element is not the one expected). Empty when it
// loaded.
std::string LoadProblem(XMLDocument& document, const std::string& path, const char* root) {
    if (!document.Load(path)) return document.GetLastError();
    const std::string& name = document.GetRoot()->GetName();
    return name == root ? std::string() : "the root element is <" + name + ">, not <" + root + ">";
}

}  // namespace

void PlayerManager::Load() {
    m_loaded = true;
    HtmlLog* log = HtmlLog::Instance();
    log->Debug("Loading players from " + HtmlLog::Shown(UsersFile));
    RemoveUnfinishedSaves();
    if (!FileSystem::FileExists(UsersFile)) return;  // the first run

    XMLDocument users(UsersDocument::kRoot);
    const std::string unreadable = LoadProblem(users, UsersFile, UsersDocument::kRoot);
    if (!unreadable.empty()) {
        log->Error("Cannot read the users file (" + HtmlLog::Shown(unreadable) +
                   "): it and the profile documents are kept aside as \"*.bad\"; starting with no players.");
        if (!KeepAsideAll()) {
            m_saveBlocked = true;
            log->Error("Players will not be saved this time: the unreadable files could not be kept aside.");
        }
        return;
    }

    // A player the game cannot take in must not vanish from the disk with the
    // next save: the users file as it was is kept beside it.
    bool lost = false;
    for (const RefPtr<XMLDocument::XMLElement>& element : users.GetRoot()->GetChildren()) {
        if (element->GetName() != UsersDocument::kPlayer) continue;
        std::string problem;
        std::unique_ptr<Player> player = UsersDocument::Read(*element, problem);
        if (!player) {
            log->Error("A player of the users file is skipped: " + HtmlLog::Shown(problem) + ".");
            lost = true;
            continue;
        }
        int slot = SlotOf(*player);
        // A slot below another root: the storage folder has moved (a new data
        // home, a renamed home folder, a restored backup) and took the profile
        // documents along.
        std::string oldRoot;
        const bool moved = slot < 0 && (slot = SaveSlots::IndexOfTail(player->SaveFile, &oldRoot)) >= 0;
        if (slot < 0) {
            log->Error("Player " + HtmlLog::Shown(player->Name) + " is skipped: " + HtmlLog::Shown(player->SaveFile) +
                       " is not one of the save slots.");
            lost = true;
            continue;
        }
        const Player* holder = nullptr;
        for (const Player* other : Players)
            if (SlotOf(*other) == slot) holder = other;
        if (holder) {
            log->Error("Player " + HtmlLog::Shown(player->Name) + " is skipped: save slot " + HtmlLog::Shown(player->SaveFile) +
                       " belongs to " + HtmlLog::Shown(holder->Name) + ".");
            lost = true;
            continue;
        }
        const std::string written = player->SaveFile;
        player->SaveFile = SaveSlots::SlotPath(SaveFolder, slot);
        if (moved)
            log->Info("Player " + HtmlLog::Shown(player->Name) + ": the profile document " + HtmlLog::Shown(written) +
                      " is taken from " + HtmlLog::Shown(player->SaveFile) + ", its slot in the storage folder now.");
        if (player->IsActive && GetActivePlayer()) {
            log->Warning("Player " + HtmlLog::Shown(player->Name) + " is not made active: " + HtmlLog::Shown(GetActivePlayer()->Name) +
                         " is the active player.");
            player->IsActive = false;
        }
        Player* loaded = player.release();
        Players.push_back(loaded);
        m_diskOwner[slot] = loaded;
        log->Debug("Loading single player from " + HtmlLog::Shown(loaded->SaveFile));
        LoadProfile(*loaded);
        if (moved && !oldRoot.empty() && loaded->PlayFieldPath.compare(0, oldRoot.size(), oldRoot) == 0)
            loaded->PlayFieldPath = SaveFolder + loaded->PlayFieldPath.substr(oldRoot.size());
    }
    if (lost) {
        log->Error("The users file names players that were not loaded: it is copied aside as \"" +
                   HtmlLog::Shown(UsersFile) + ".bad\" before it is written again.");
        SaveSlots::CopyAside(UsersFile);
    }
}

void PlayerManager::LoadProfile(Player& player) {
    if (!FileSystem::FileExists(player.SaveFile)) return;
    XMLDocument profile(ProfileDocument::kRoot);
    const std::string problem = LoadProblem(profile, player.SaveFile, ProfileDocument::kRoot);
    if (!problem.empty()) {
        HtmlLog::Instance()->Error("Cannot read the profile document of " + HtmlLog::Shown(player.Name) + " (" +
                                   HtmlLog::Shown(problem) + "): it is kept aside as \"*.bad\".");
        SaveSlots::KeepAside(player.SaveFile);
        return;
    }
    ProfileDocument::Read(*profile.GetRoot(), player);
    // Whether the player has been on the global map is saved nowhere; a player
    // with node scores has.
    player.GameInProgress = !player.NodeScores.empty();
}

void PlayerManager::RemoveUnfinishedSaves() {
    std::vector<std::string> paths = {UsersFile};
    for (int slot = 0; slot < SaveSlots::kSlotCount; ++slot) {
        paths.push_back(SaveSlots::SlotPath(SaveFolder, slot));
        paths.push_back(SaveSlots::SlotPath(SaveFolder, slot) + SaveSlots::kStateSuffix);
    }
    for (const std::string& path : paths) {
        const std::string temp = FileSystem::ResolvePath(SaveSlots::Normalise(path)) + ".tmp";
        if (FileSystem::FileExists(temp) && FileSystem::RemoveFile(temp))
            HtmlLog::Instance()->Warning("Removed " + HtmlLog::Shown(temp) + ", left by a save that did not finish.");
    }
}

bool PlayerManager::KeepAsideAll() {
    bool kept = SaveSlots::KeepAside(UsersFile);
    for (int slot = 0; slot < SaveSlots::kSlotCount; ++slot) {
        const std::string path = SaveSlots::SlotPath(SaveFolder, slot);
        if (FileSystem::FileExists(path)) kept = SaveSlots::KeepAside(path) && kept;
    }
    return kept;
}

void PlayerManager::Save() {
    HtmlLog* log = HtmlLog::Instance();
    if (!m_loaded || m_saveBlocked) {
        log->Warning(std::string("Players are not saved: ") +
                     (m_loaded ? "the unreadable users file could not be kept aside." : "they were never loaded."));
        return;
    }

    // Who holds each slot now.
    Player* holder[SaveSlots::kSlotCount] = {};
    for (Player* player : Players) {
        const int slot = SlotOf(*player);
        if (slot >= 0 && !holder[slot]) holder[slot] = player;
    }

    // A slot handed to another player this session: the users file on disk
    // still names the old one for it. It must stop doing so before the new
    // player's document replaces the old one, or a save cut short would give
    // the old player the new one's progress.
    bool handedOver = false;
    for (int slot = 0; slot < SaveSlots::kSlotCount; ++slot)
        if (m_diskOwner[slot] && holder[slot] && holder[slot] != m_diskOwner[slot]) handedOver = true;
    if (handedOver && !WriteUsersFile(true, {})) {
        log->Error("Players are not saved: the users file cannot be written.");
        return;
    }

    std::vector<bool> omitted(Players.size(), false);
    for (size_t i = 0; i < Players.size(); ++i) {
        Player& player = *Players[i];
        const int slot = SlotOf(player);
        if (slot < 0 || holder[slot] != &player) {
            log->Error("Player " + HtmlLog::Shown(player.Name) + " is not saved: " + HtmlLog::Shown(player.SaveFile) +
                       " is not a save slot of its own.");
            omitted[i] = true;
            continue;
        }
        XMLDocument profile(ProfileDocument::kRoot);
        ProfileDocument::Write(player, *profile.GetRoot());
        log->Debug("Saving single player to " + HtmlLog::Shown(player.SaveFile));
        if (profile.Save(player.SaveFile)) {
            DropUnnamedState(player);
            continue;
        }
        if (m_diskOwner[slot] == &player) continue;
        // The slot may still hold the document of an earlier player.
        if (FileSystem::FileExists(player.SaveFile) && !FileSystem::RemoveFile(player.SaveFile)) {
            log->Error("Player " + HtmlLog::Shown(player.Name) + " is left out of the users file: the old document in " +
                       HtmlLog::Shown(player.SaveFile) + " could not be replaced.");
            omitted[i] = true;
        }
    }
    WriteUsersFile(false, omitted);
}

void PlayerManager::DropUnnamedState(const Player& player) {
    const std::string state = player.SaveFile + SaveSlots::kStateSuffix;
    if (player.NamesSavedState()) return;
    if (FileSystem::FileExists(state) && !FileSystem::RemoveFile(state))
        HtmlLog::Instance()->Warning("The state file " + HtmlLog::Shown(state) + " of a level that is over could not be removed.");
}

bool PlayerManager::WriteUsersFile(bool releaseOnly, const std::vector<bool>& omitted) {
    XMLDocument users(UsersDocument::kRoot);
    Player* listed[SaveSlots::kSlotCount] = {};
    for (size_t i = 0; i < Players.size(); ++i) {
        Player* player = Players[i];
        const int slot = SlotOf(*player);
        if (slot < 0 || listed[slot] || (i < omitted.size() && omitted[i])) continue;
        if (releaseOnly && m_diskOwner[slot] != player) continue;
        listed[slot] = player;
        users.GetRoot()->AddChild(UsersDocument::Write(*player));
    }
    HtmlLog::Instance()->Debug((releaseOnly ? "Releasing reused save slots in " : "Saving players to ") +
                               HtmlLog::Shown(UsersFile));
    if (!users.Save(UsersFile)) return false;
    std::copy(std::begin(listed), std::end(listed), std::begin(m_diskOwner));
    return true;
}
