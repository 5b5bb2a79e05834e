// The live textures behind HTEXTURE handles (a handle is the Texture's address;
// handles that name no live texture are refused), and the lock rule: a lock of a
// rectangle returns a pointer into the CPU copy at the rectangle's top-left
// texel, rows one texture width apart.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/Texture.h"
#include "platform/hge.h"

class TextureStore {
public:
    HTEXTURE Create(int width, int height);  // transparent black; 0 for a bad size
    // Decodes an image; 0 and a reason when it cannot be decoded.
    HTEXTURE Decode(const void* data, size_t size, std::string& reason);

    Texture* Find(HTEXTURE handle) const;
    // Takes the texture out of the store and hands it to the caller.
    std::unique_ptr<Texture> Remove(HTEXTURE handle);
    template <class F>
    void ForEach(F f) {
        for (auto& kv : m_textures) f(*kv.second);
    }
    void Clear() { m_textures.clear(); }
    size_t Count() const { return m_textures.size(); }

    // Null when the handle is unknown or the rectangle leaves the texture. A
    // width or height of 0 means "to the texture's edge". A second lock before the
    // unlock takes the new rectangle; writes of either lock are kept.
    static uint32_t* Lock(Texture& tex, bool readOnly, int left, int top, int width, int height);
    // True when the texels may have changed (some lock was not read-only).
    static bool Unlock(Texture& tex);

private:
    std::unordered_map<HTEXTURE, std::unique_ptr<Texture>> m_textures;
};
