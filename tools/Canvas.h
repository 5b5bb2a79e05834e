// A small RGBA picture for the content generators: flat shapes with smooth
// edges, gradients, text from a TrueType font, and PNG output. Everything is
// computed in plain arithmetic, so the same program always writes the same
// bytes.
#pragma once

#include <stb_image_write.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace content {

// A colour with float channels 0..1 (straight alpha).
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba Hex(uint32_t argb) {
    return Rgba{((argb >> 16) & 255) / 255.0f, ((argb >> 8) & 255) / 255.0f, (argb & 255) / 255.0f,
                ((argb >> 24) & 255) / 255.0f};
}

inline Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Coverage of a pixel by a shape whose signed distance (negative inside) at the
// pixel centre is d: a one-pixel smooth edge.
inline float Coverage(float d) { return Clamp01(0.5f - d); }

// A TrueType font read once from a file.
class Font {
public:
    bool Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (data_.empty()) return false;
        const unsigned char* p = data_.data();
        return stbtt_InitFont(&info_, p, stbtt_GetFontOffsetForIndex(p, 0)) != 0;
    }
    const stbtt_fontinfo* Info() const { return &info_; }
    float ScaleForPixels(float px) const { return stbtt_ScaleForPixelHeight(&info_, px); }

private:
    std::vector<unsigned char> data_;
    stbtt_fontinfo info_{};
};

// A coverage mask (0..1 per pixel) of a glyph run, used for text and outlines.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;
    float At(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0;
        return v[size_t(y) * w + x];
    }
};

// The mask grown by radius pixels (a round brush): the outline of a glyph.
inline Mask Dilate(const Mask& m, float radius) {
    Mask out;
    int r = int(std::ceil(radius));
    out.w = m.w;
    out.h = m.h;
    out.v.assign(m.v.size(), 0.0f);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    float d = std::sqrt(float(dx * dx + dy * dy));
                    float weight = Clamp01(radius + 0.5f - d);
                    best = std::max(best, m.At(x + dx, y + dy) * weight);
                }
            out.v[size_t(y) * m.w + x] = best;
        }
    return out;
}

// Renders text of code points into a mask with room for padding on every side.
// baselineOut receives the baseline row inside the mask.
inline Mask TextMask(const Font& font, float px, const std::vector<int>& codepoints, int pad, int* baselineOut = nullptr) {
    const stbtt_fontinfo* info = font.Info();
    float scale = font.ScaleForPixels(px);
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
    int base = int(std::ceil(ascent * scale));
    float pen = 0;
    int left = 0, right = 0;
    // Measure first.
    for (size_t i = 0; i < codepoints.size(); ++i) {
        int adv, lsb, x0, y0, x1, y1;
        stbtt_GetCodepointHMetrics(info, codepoints[i], &adv, &lsb);
        stbtt_GetCodepointBitmapBox(info, codepoints[i], scale, scale, &x0, &y0, &x1, &y1);
        left = std::min(left, int(std::floor(pen)) + x0);
        right = std::max(right, int(std::floor(pen)) + x1);
        pen += adv * scale;
        if (i + 1 < codepoints.size()) pen += stbtt_GetCodepointKernAdvance(info, codepoints[i], codepoints[i + 1]) * scale;
    }
    right = std::max(right, int(std::ceil(pen)));
    Mask m;
    m.w = right - left + 2 * pad;
    m.h = int(std::ceil((ascent - descent) * scale)) + 2 * pad;
    m.v.assign(size_t(m.w) * m.h, 0.0f);
    pen = 0;
    for (size_t i = 0; i < codepoints.size(); ++i) {
        int adv, lsb, x0, y0, x1, y1;
        stbtt_GetCodepointHMetrics(info, codepoints[i], &adv, &lsb);
        stbtt_GetCodepointBitmapBox(info, codepoints[i], scale, scale, &x0, &y0, &x1, &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw > 0 && gh > 0) {
            std::vector<unsigned char> bmp(size_t(gw) * gh);
            stbtt_MakeCodepointBitmap(info, bmp.data(), gw, gh, gw, scale, scale, codepoints[i]);
            int ox = int(std::floor(pen)) + x0 - left + pad;
            int oy = base + y0 + pad;
            for (int y = 0; y < gh; ++y)
                for (int x = 0; x < gw; ++x) {
                    int tx = ox + x, ty = oy + y;
                    if (tx < 0 || ty < 0 || tx >= m.w || ty >= m.h) continue;
                    float& dst = m.v[size_t(ty) * m.w + tx];
                    dst = std::max(dst, bmp[size_t(y) * gw + x] / 255.0f);
                }
        }
        pen += adv * scale;
        if (i + 1 < codepoints.size()) pen += stbtt_GetCodepointKernAdvance(info, codepoints[i], codepoints[i + 1]) * scale;
    }
    if (baselineOut) *baselineOut = base + pad;
    return m;
}

// The code points of UTF-8 text (labels may carry Czech letters).
inline std::vector<int> Codepoints(const std::string& utf8) {
    std::vector<int> out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        int cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(size_t(w) * h) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    const Rgba& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }

    // Paints colour c over the pixel with the given coverage (source-over).
    void Blend(int x, int y, const Rgba& c, float coverage) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        float sa = c.a * Clamp01(coverage);
        if (sa <= 0) return;
        Rgba& d = px_[size_t(y) * w_ + x];
        float oa = sa + d.a * (1 - sa);
        if (oa <= 0) return;
        d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
        d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
        d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
        d.a = oa;
    }

    void Set(int x, int y, const Rgba& c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[size_t(y) * w_ + x] = c;
    }

    void Fill(const Rgba& c) { std::fill(px_.begin(), px_.end(), c); }

    // Any shape given as a signed distance function (negative inside), painted
    // with a colour that may depend on the position.
    template <class Dist, class Paint>
    void Shape(int x0, int y0, int x1, int y1, Dist dist, Paint paint) {
        x0 = std::max(0, x0);
        y0 = std::max(0, y0);
        x1 = std::min(w_, x1);
        y1 = std::min(h_, y1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                float cx = x + 0.5f, cy = y + 0.5f;
                float cov = Coverage(dist(cx, cy));
                if (cov > 0) Blend(x, y, paint(cx, cy), cov);
            }
    }

    // Rounded rectangle from (x0, y0) to (x1, y1) with corner radius r.
    static float RoundRectDist(float px, float py, float x0, float y0, float x1, float y1, float r) {
        float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        float hx = (x1 - x0) * 0.5f - r, hy = (y1 - y0) * 0.5f - r;
        float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
    }

    void RoundRect(float x0, float y0, float x1, float y1, float r, const Rgba& c) {
        Shape(int(x0) - 1, int(y0) - 1, int(x1) + 2, int(y1) + 2,
              [=](float px, float py) { return RoundRectDist(px, py, x0, y0, x1, y1, r); },
              [=](float, float) { return c; });
    }

    // Rounded rectangle with a vertical gradient from top to bottom colour.
    void RoundRectGradient(float x0, float y0, float x1, float y1, float r, const Rgba& top, const Rgba& bottom) {
        Shape(int(x0) - 1, int(y0) - 1, int(x1) + 2, int(y1) + 2,
              [=](float px, float py) { return RoundRectDist(px, py, x0, y0, x1, y1, r); },
              [=](float, float py) { return Mix(top, bottom, Clamp01((py - y0) / std::max(1.0f, y1 - y0))); });
    }

    // A frame line of the given width along the inside of a rounded rectangle.
    void RoundRectOutline(float x0, float y0, float x1, float y1, float r, float width, const Rgba& c) {
        Shape(int(x0) - 1, int(y0) - 1, int(x1) + 2, int(y1) + 2,
              [=](float px, float py) {
                  float d = RoundRectDist(px, py, x0, y0, x1, y1, r);
                  return std::max(d, -d - width);
              },
              [=](float, float) { return c; });
    }

    void Circle(float cx, float cy, float radius, const Rgba& c) {
        Shape(int(cx - radius) - 1, int(cy - radius) - 1, int(cx + radius) + 2, int(cy + radius) + 2,
              [=](float px, float py) { return std::hypot(px - cx, py - cy) - radius; },
              [=](float, float) { return c; });
    }

    void Ring(float cx, float cy, float radius, float width, const Rgba& c) {
        Shape(int(cx - radius) - 1, int(cy - radius) - 1, int(cx + radius) + 2, int(cy + radius) + 2,
              [=](float px, float py) { return std::fabs(std::hypot(px - cx, py - cy) - (radius - width * 0.5f)) - width * 0.5f; },
              [=](float, float) { return c; });
    }

    // A soft round spot: alpha falls from the centre to the rim by the power given.
    void SoftSpot(float cx, float cy, float radius, const Rgba& c, float power) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
                if (d >= 1) continue;
                Blend(x, y, c, std::pow(1 - d, power));
            }
    }

    // A thick line segment with round ends.
    void Line(float ax, float ay, float bx, float by, float width, const Rgba& c) {
        float minx = std::min(ax, bx) - width, maxx = std::max(ax, bx) + width;
        float miny = std::min(ay, by) - width, maxy = std::max(ay, by) + width;
        Shape(int(minx) - 1, int(miny) - 1, int(maxx) + 2, int(maxy) + 2,
              [=](float px, float py) {
                  float vx = bx - ax, vy = by - ay;
                  float len2 = vx * vx + vy * vy;
                  float t = len2 > 0 ? Clamp01(((px - ax) * vx + (py - ay) * vy) / len2) : 0;
                  return std::hypot(px - (ax + vx * t), py - (ay + vy * t)) - width * 0.5f;
              },
              [=](float, float) { return c; });
    }

    // A filled polygon (any winding), edges smoothed by 4 x 4 samples per pixel.
    void Polygon(const std::vector<float>& xy, const Rgba& c) {
        float minx = 1e9f, miny = 1e9f, maxx = -1e9f, maxy = -1e9f;
        for (size_t i = 0; i + 1 < xy.size(); i += 2) {
            minx = std::min(minx, xy[i]);
            maxx = std::max(maxx, xy[i]);
            miny = std::min(miny, xy[i + 1]);
            maxy = std::max(maxy, xy[i + 1]);
        }
        size_t n = xy.size() / 2;
        auto inside = [&](float px, float py) {
            bool in = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
                if (((yi > py) != (yj > py)) && (px < (xj - xi) * (py - yi) / (yj - yi) + xi)) in = !in;
            }
            return in;
        };
        for (int y = std::max(0, int(miny) - 1); y < std::min(h_, int(maxy) + 2); ++y)
            for (int x = std::max(0, int(minx) - 1); x < std::min(w_, int(maxx) + 2); ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        if (inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4)) ++hits;
                if (hits) Blend(x, y, c, hits / 16.0f);
            }
    }

    // Paints a coverage mask with its top-left at (x, y).
    void PaintMask(const Mask& m, int x, int y, const Rgba& c) {
        for (int my = 0; my < m.h; ++my)
            for (int mx = 0; mx < m.w; ++mx) Blend(x + mx, y + my, c, m.v[size_t(my) * m.w + mx]);
    }

    // A label centred on (cx, cy): fill colour with an optional outline.
    void Label(const Font& font, float px, const std::string& text, float cx, float cy, const Rgba& fill,
               const Rgba& outline, float outlineWidth) {
        int pad = int(std::ceil(outlineWidth)) + 1;
        Mask m = TextMask(font, px, Codepoints(text), pad);
        int x = int(std::lround(cx - m.w * 0.5f)), y = int(std::lround(cy - m.h * 0.5f));
        if (outlineWidth > 0) PaintMask(Dilate(m, outlineWidth), x, y, outline);
        PaintMask(m, x, y, fill);
    }

    // Copies another canvas in, pixel for pixel, at (x, y).
    void Paste(const Canvas& src, int x, int y) {
        for (int sy = 0; sy < src.h_; ++sy)
            for (int sx = 0; sx < src.w_; ++sx) Set(x + sx, y + sy, src.At(sx, sy));
    }

    // 8-bit RGBA rows, each channel rounded to the nearest step.
    std::vector<unsigned char> Bytes() const {
        std::vector<unsigned char> out(px_.size() * 4);
        for (size_t i = 0; i < px_.size(); ++i) {
            const Rgba& p = px_[i];
            float a = Clamp01(p.a);
            // Fully transparent texels keep black, so files do not vary by leftovers.
            bool clear = a * 255.0f < 0.5f;
            out[4 * i + 0] = clear ? 0 : (unsigned char)std::lround(Clamp01(p.r) * 255.0f);
            out[4 * i + 1] = clear ? 0 : (unsigned char)std::lround(Clamp01(p.g) * 255.0f);
            out[4 * i + 2] = clear ? 0 : (unsigned char)std::lround(Clamp01(p.b) * 255.0f);
            out[4 * i + 3] = (unsigned char)std::lround(a * 255.0f);
        }
        return out;
    }

    bool WritePng(const std::string& path) const {
        std::vector<unsigned char> bytes = Bytes();
        stbi_write_png_compression_level = 9;
        if (!stbi_write_png(path.c_str(), w_, h_, 4, bytes.data(), w_ * 4)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
        return true;
    }

private:
    int w_, h_;
    std::vector<Rgba> px_;
};

}  // namespace content
