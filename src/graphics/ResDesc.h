// Base of the resource manager's descriptions: one named, grouped resource that
// loads its object on the first Get and keeps it until Free.
#pragma once

#include <cstdint>
#include <string>

#include "platform/hge.h"

class hgeResourceManager;

// Handles hold engine handles or object pointers: always pointer-sized.
typedef uintptr_t ResHandle;

enum ResType {
    RES_SCRIPT = 0,
    RES_RESOURCE,
    RES_TEXTURE,
    RES_EFFECT,
    RES_MUSIC,
    RES_STREAM,
    RES_TARGET,
    RES_SPRITE,
    RES_ANIMATION,
    RES_FONT,
    RES_PARTICLE,
    RES_DISTORT,
    RES_STRTABLE,
    RESTYPES
};

class ResDesc {
public:
    ResDesc();
    ResDesc(const ResDesc& other);
    ResDesc& operator=(const ResDesc&) = delete;
    // Descriptions are deleted through this base.
    virtual ~ResDesc();

    // The handle, loading or building the object first when there is none.
    // 0 when loading fails.
    virtual ResHandle Get(hgeResourceManager* rm) = 0;
    // Unloads or deletes the object; the handle becomes 0.
    virtual void Free() = 0;
    virtual int Type() const = 0;

    std::string name;
    int resgroup = 0;  // 0: no group
    ResHandle handle = 0;

protected:
    HGE* hge;
};
