// Shared pieces of the profile tests: a storage folder in a temporary folder,
// the HTML log captured, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "profiles/PlayerManager.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/TempDir.h"

class ProfilesTest : public ::testing::Test {
protected:
    // The storage folder, with its trailing separator.
    std::string Folder() const { return storage.Path(); }
    std::string UsersPath() const { return Folder() + "data/users.xml"; }
    std::string SlotFile(int slot) const { return Folder() + "data/Map/" + std::to_string(slot) + ".xml"; }
    // The slot's path as the manager writes it into the users file.
    std::string SlotText(int slot) const { return Folder() + "data\\Map\\" + std::to_string(slot) + ".xml"; }

    // A manager over the storage folder, as start-up sets it up (not loaded).
    std::unique_ptr<PlayerManager> NewManager() const {
        std::unique_ptr<PlayerManager> pm(new PlayerManager());
        pm->SetSavePath(Folder());
        pm->SetUsersFile("data\\users.xml");
        return pm;
    }
    std::unique_ptr<PlayerManager> LoadedManager() const {
        std::unique_ptr<PlayerManager> pm = NewManager();
        pm->Load();
        return pm;
    }

    void WriteFile(const std::string& path, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    TempDir storage;
    HtmlLogCapture log;
};
