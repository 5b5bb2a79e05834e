#include "platform/TextureStore.h"

#include "platform/ImageCodec.h"

namespace {
const int kMaxSide = 16384;
}

HTEXTURE TextureStore::Create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 0;
    auto tex = std::make_unique<Texture>();
    tex->width = width;
    tex->height = height;
    tex->pixels.assign(size_t(width) * size_t(height), 0u);
    const HTEXTURE h = reinterpret_cast<HTEXTURE>(tex.get());
    m_textures[h] = std::move(tex);
    return h;
}

HTEXTURE TextureStore::Decode(const void* data, size_t size, std::string& reason) {
    auto tex = std::make_unique<Texture>();
    if (!ImageCodec::Decode(data, size, tex->width, tex->height, tex->pixels, reason)) return 0;
    if (tex->width > kMaxSide || tex->height > kMaxSide) {
        reason = "image too large";
        return 0;
    }
    const HTEXTURE h = reinterpret_cast<HTEXTURE>(tex.get());
    m_textures[h] = std::move(tex);
    return h;
}

Texture* TextureStore::Find(HTEXTURE handle) const {
    auto it = m_textures.find(handle);
    return it == m_textures.end() ? nullptr : it->second.get();
}

std::unique_ptr<Texture> TextureStore::Remove(HTEXTURE handle) {
    auto it = m_textures.find(handle);
    if (it == m_textures.end()) return nullptr;
    std::unique_ptr<Texture> tex = std::move(it->second);
    m_textures.erase(it);
    return tex;
}

uint32_t* TextureStore::Lock(Texture& tex, bool readOnly, int left, int top, int width, int height) {
    if (left < 0 || top < 0 || left >= tex.width || top >= tex.height) return nullptr;
    if (width <= 0) width = tex.width - left;
    if (height <= 0) height = tex.height - top;
    if (width > tex.width - left || height > tex.height - top) return nullptr;
    tex.locked = true;
    tex.lockWrites = tex.lockWrites || !readOnly;
    tex.lockLeft = left;
    tex.lockTop = top;
    tex.lockWidth = width;
    tex.lockHeight = height;
    return tex.pixels.data() + size_t(top) * size_t(tex.width) + size_t(left);
}

bool TextureStore::Unlock(Texture& tex) {
    if (!tex.locked) return false;
    const bool changed = tex.lockWrites;
    tex.locked = false;
    tex.lockWrites = false;
    return changed;
}
