// Every named resource of the game, declared in a resource script and obtained
// by name. Each description loads its object on first request and keeps it until
// its group is purged; every caller asking for a name gets the same object, which
// belongs to the manager (never delete it; do not use it after a Purge of its
// group).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/ResDesc.h"
#include "platform/hge.h"

class hgeSprite;
class hgeAnimation;
class hgeFont;
class hgeParticleSystem;
class hgeDistortionMesh;
class hgeStringTable;

class hgeResourceManager {
public:
    // Reads the script when a name is given; a missing script is logged and
    // leaves the manager empty.
    explicit hgeResourceManager(const char* scriptname = nullptr);
    ~hgeResourceManager();
    hgeResourceManager(const hgeResourceManager&) = delete;
    hgeResourceManager& operator=(const hgeResourceManager&) = delete;

    // Drops every description, then reads the new script.
    void ChangeScript(const char* scriptname);
    // Loads every resource of the group (all with 0). Stops loading at the first
    // failure and returns false then.
    bool Precache(int groupid = 0);
    // Frees the objects of the group (all with 0); the descriptions stay.
    void Purge(int groupid = 0);

    // An undeclared name is loaded as a file name and, when that works,
    // registered under it in the given group.
    void* GetResource(const char* name, int resgroup = 0);
    HTEXTURE GetTexture(const char* name, int resgroup = 0);
    HEFFECT GetEffect(const char* name, int resgroup = 0);
    HMUSIC GetMusic(const char* name, int resgroup = 0);
    HSTREAM GetStream(const char* name, int resgroup = 0);
    hgeStringTable* GetStringTable(const char* name, int resgroup = 0);

    // Declared names only: 0 or null otherwise.
    HTARGET GetTarget(const char* name);
    hgeSprite* GetSprite(const char* name);
    hgeAnimation* GetAnimation(const char* name);
    hgeFont* GetFont(const char* name);
    hgeParticleSystem* GetParticleSystem(const char* name);
    hgeDistortionMesh* GetDistortionMesh(const char* name);

    // The script reader's side: find, add and remove descriptions.
    ResDesc* FindRes(int type, const char* name) const;
    void AddRes(int type, ResDesc* desc);
    // Frees and deletes every description of the type, newest first.
    void RemoveType(int type);
    size_t Count(int type) const { return (type >= 0 && type < RESTYPES) ? lists[type].size() : 0; }

private:
    void RemoveAll();
    ResHandle GetDeclared(int type, const char* name);

    HGE* hge;
    // Oldest first; walks that the script defines as "newest first" go backwards.
    std::vector<ResDesc*> lists[RESTYPES];
    std::unordered_map<std::string, ResDesc*> index[RESTYPES];
};
