#include "graphics/FontPictures.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

struct Picture {
    HTEXTURE texture = 0;
    int users = 0;
};

// Keyed by the file name with "/" for "\" and the mipmap flag.
using PictureKey = std::pair<std::string, bool>;

// Never destroyed: fonts that live to the program's exit (the registry's)
// give their pictures back after the statics of this file would have gone.
std::map<PictureKey, Picture>& Pictures() {
    static auto* pictures = new std::map<PictureKey, Picture>();
    return *pictures;
}

std::map<PictureKey, Picture>::iterator FindTexture(HTEXTURE texture) {
    auto& pictures = Pictures();
    return std::find_if(pictures.begin(), pictures.end(),
                        [texture](const auto& entry) { return entry.second.texture == texture; });
}

}  // namespace

HTEXTURE FontPictures::Acquire(HGE* hge, const std::string& path, bool mipmap) {
    if (!hge || path.empty()) return 0;
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    Picture& picture = Pictures()[PictureKey(name, mipmap)];
    if (!picture.texture) {
        picture.texture = hge->Texture_Load(path.c_str(), 0, mipmap);
        if (!picture.texture) {
            Pictures().erase(PictureKey(name, mipmap));
            return 0;
        }
    }
    ++picture.users;
    return picture.texture;
}

void FontPictures::Release(HGE* hge, HTEXTURE texture) {
    if (!texture) return;
    auto it = FindTexture(texture);
    if (it != Pictures().end()) {
        if (--it->second.users > 0) return;
        Pictures().erase(it);
    }
    if (hge) hge->Texture_Free(texture);
}
