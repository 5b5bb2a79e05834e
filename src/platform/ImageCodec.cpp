#include "platform/ImageCodec.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <climits>

#include "platform/FileSystem.h"

namespace ImageCodec {

bool Decode(const void* data, size_t size, int& width, int& height, std::vector<uint32_t>& argb,
            std::string& reason) {
    argb.clear();
    width = height = 0;
    if (!data || size == 0 || size > size_t(INT_MAX)) {
        reason = "no data";
        return false;
    }
    int w = 0, h = 0, comp = 0;
    unsigned char* rgba =
        stbi_load_from_memory(static_cast<const stbi_uc*>(data), int(size), &w, &h, &comp, 4);
    if (!rgba) {
        const char* why = stbi_failure_reason();
        reason = why ? why : "unknown image format";
        return false;
    }
    if (w <= 0 || h <= 0 || size_t(w) * size_t(h) > (size_t(1) << 28)) {
        stbi_image_free(rgba);
        reason = "image too large";
        return false;
    }
    argb.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < argb.size(); ++i) {
        const unsigned char* p = rgba + i * 4;
        argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[2]);
    }
    stbi_image_free(rgba);
    width = w;
    height = h;
    return true;
}

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb) {
    if (width <= 0 || height <= 0 || argb.size() < size_t(width) * size_t(height)) return false;
    std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        const uint32_t c = argb[i];
        rgba[i * 4 + 0] = (unsigned char)(c >> 16);
        rgba[i * 4 + 1] = (unsigned char)(c >> 8);
        rgba[i * 4 + 2] = (unsigned char)c;
        rgba[i * 4 + 3] = (unsigned char)(c >> 24);
    }
    std::string out;
    auto append = [](void* ctx, void* bytes, int n) {
        static_cast<std::string*>(ctx)->append(static_cast<const char*>(bytes), size_t(n));
    };
    if (!stbi_write_png_to_func(append, &out, width, height, 4, rgba.data(), width * 4)) return false;
    return FileSystem::WriteFileAtomic(path, out);
}

}  // namespace ImageCodec
