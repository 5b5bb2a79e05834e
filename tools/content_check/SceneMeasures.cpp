#include "SceneMeasures.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "engine/XMLDocument.h"

namespace contenttest {

namespace {

const int kRing = 16;  // texels of picture around an object that it is compared with
const int kBlob = 8;   // the ring is compared blob by blob, kBlob x kBlob texels

// Saturation as chroma, the spread of the colour channels: HSV saturation
// runs to its top on near-black texels, which do not stand out.
int Chroma(int r, int g, int b) { return std::max({r, g, b}) - std::min({r, g, b}); }

}  // namespace

Composed::Composed(const std::vector<Drawn>& objects) {
    std::vector<const Drawn*> order;
    for (const Drawn& d : objects) {
        order.push_back(&d);
        w = std::max(w, d.left + d.texels.w), h = std::max(h, d.top + d.texels.h);
    }
    std::sort(order.begin(), order.end(), [](const Drawn* a, const Drawn* b) { return b->Over(*a); });
    std::vector<float> rgb(size_t(w) * size_t(h) * 3, 0.0f);
    for (const Drawn* d : order)
        for (int y = std::max(0, -d->top); y < d->texels.h; ++y)
            for (int x = std::max(0, -d->left); x < d->texels.w; ++x) {
                const float a = d->texels.A(x, y) / 255.0f;
                float* c = &rgb[(size_t(d->top + y) * size_t(w) + size_t(d->left + x)) * 3];
                const int src[3] = {d->texels.R(x, y), d->texels.G(x, y), d->texels.B(x, y)};
                for (int i = 0; i < 3; ++i) c[i] += (src[i] - c[i]) * a;
            }
    for (size_t i = 0; i < rgb.size(); i += 3) {
        luma.push_back(0.299f * rgb[i] + 0.587f * rgb[i + 1] + 0.114f * rgb[i + 2]);
        chroma.push_back(float(Chroma(int(rgb[i]), int(rgb[i + 1]), int(rgb[i + 2]))));
    }
}

bool Glares(const Drawn& o, const Composed& picture) {
    int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1, n = 0;
    double luma = 0, chroma = 0;
    for (int y = 0; y < o.texels.h; ++y)
        for (int x = 0; x < o.texels.w; ++x) {
            if (o.texels.A(x, y) < kSolid) continue;
            ++n;
            luma += o.texels.Luma(x, y);
            chroma += Chroma(o.texels.R(x, y), o.texels.G(x, y), o.texels.B(x, y));
            x1 = std::min(x1, o.left + x), y1 = std::min(y1, o.top + y);
            x2 = std::max(x2, o.left + x + 1), y2 = std::max(y2, o.top + y + 1);
        }
    if (!n) return false;
    float ringLuma = -1, ringChroma = -1;
    // The strips above, below, left and right of the bounds, as [left, right) x [top, bottom).
    const int strips[4][4] = {{x1 - kRing, x2 + kRing, y1 - kRing, y1},
                              {x1 - kRing, x2 + kRing, y2, y2 + kRing},
                              {x1 - kRing, x1, y1, y2},
                              {x2, x2 + kRing, y1, y2}};
    for (const auto& s : strips)
        for (int by = s[2]; by < s[3]; by += kBlob)
            for (int bx = s[0]; bx < s[1]; bx += kBlob) {
                float l = 0, c = 0;
                int in = 0;
                for (int y = std::max(by, 0); y < std::min({by + kBlob, s[3], picture.h}); ++y)
                    for (int x = std::max(bx, 0); x < std::min({bx + kBlob, s[1], picture.w}); ++x) {
                        l += picture.luma[size_t(y) * size_t(picture.w) + size_t(x)];
                        c += picture.chroma[size_t(y) * size_t(picture.w) + size_t(x)];
                        ++in;
                    }
                if (in * 4 < kBlob * kBlob) continue;
                ringLuma = std::max(ringLuma, l / in), ringChroma = std::max(ringChroma, c / in);
            }
    return ringLuma >= 0 && (luma / n > ringLuma || chroma / n > ringChroma);
}

int PaintedClutter(const std::string& sceneFile) {
    std::string folder = std::filesystem::path(sceneFile).stem().string();
    std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    const std::filesystem::path dir = std::filesystem::path(source ? source : ".") / "tools/art" / folder;
    if (!std::filesystem::is_directory(dir)) return 0;
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".svg") continue;
        XMLDocument svg = XMLDocument::FromFile(entry.path().string());
        EXPECT_TRUE(svg.IsLoaded()) << entry.path() << ": " << svg.GetLastError();
        if (!svg.IsLoaded()) continue;
        std::vector<RefPtr<XMLDocument::XMLElement>> open = {svg.GetRoot()};
        while (!open.empty()) {
            const RefPtr<XMLDocument::XMLElement> e = open.back();
            open.pop_back();
            open.insert(open.end(), e->GetChildren().begin(), e->GetChildren().end());
            n += e->HasAttribute("id") && e->GetStringAttribute("id").rfind("clutter_", 0) == 0;
        }
    }
    return n;
}

}  // namespace contenttest
