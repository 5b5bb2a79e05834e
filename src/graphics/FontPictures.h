// The bitmaps of the fonts in use. A picture file is decoded once and shared by
// every font made from it (the registry's fonts and the resource script's);
// each font holds one counted reference, and the last font to let go frees the
// texture.
#pragma once

#include <string>

#include "platform/hge.h"

class FontPictures {
public:
    // The picture of that file: the texture already decoded for it, or a new
    // one (0, and the engine's log row, when it cannot be loaded). A texture
    // returned counts one more user.
    static HTEXTURE Acquire(HGE* hge, const std::string& path, bool mipmap);
    // One user of the texture fewer; the last one frees it. A texture not
    // handed out here is freed at once.
    static void Release(HGE* hge, HTEXTURE texture);
};
