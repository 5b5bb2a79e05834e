// The scene as the game draws it, for measuring a find-all scene as a
// hidden-object scene: each object's texels at their place, the objects
// composed in drawing order, which listed objects glare, and the clutter
// painted into the scene's art sources.
#pragma once

#include <string>
#include <vector>

#include "ContentPicture.h"

namespace contenttest {

const int kSolid = 128;  // a texel this opaque shows, or covers what lies under it

// One object of a scene as it is drawn: its texels at their place in scene units.
struct Drawn {
    std::string name;
    float z = 0;
    int order = 0;
    int left = 0, top = 0;
    Texels texels;
    int AlphaAt(int x, int y) const {
        x -= left, y -= top;
        return x < 0 || y < 0 || x >= texels.w || y >= texels.h ? 0 : texels.A(x, y);
    }
    // Drawn after the other: higher up, or as high and later in the file.
    bool Over(const Drawn& other) const { return z > other.z || (z == other.z && order > other.order); }
};

// The scene as drawn, objects in drawing order blended by their alpha:
// luminance and chroma per texel.
struct Composed {
    int w = 0, h = 0;
    std::vector<float> luma, chroma;

    explicit Composed(const std::vector<Drawn>& objects);
};

// Whether an object is the brightest or the most saturated thing around it:
// its mean luminance (or chroma) over its solid texels exceeds the mean of
// every blob of the composed picture in the ring 16 texels wide around the
// bounds of those texels. A blob (8 x 8 texels: the ring cut into its four
// strips, two blobs deep) stands for a thing near it, so that a single
// highlight texel does not count; a blob less than a quarter inside the
// picture is left out.
bool Glares(const Drawn& o, const Composed& picture);

// The clutter painted into a scene's pictures: the elements of its art
// sources (tools/art/<scene file name in small letters>/*.svg) whose id starts
// with "clutter_".
int PaintedClutter(const std::string& sceneFile);

}  // namespace contenttest
