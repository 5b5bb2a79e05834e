#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/ImageCodec.h"
#include "support/HeadlessEngine.h"

class Textures : public HeadlessEngineTest {};

namespace {

// A w x h picture whose texel (x, y) is ARGB(255 - x, x, y, 7).
std::vector<uint32_t> Pattern(int w, int h) {
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[size_t(y) * size_t(w) + size_t(x)] = ARGB(255 - x, x, y, 7);
    return px;
}

}  // namespace

TEST_F(Textures, LockOfSubRectangleReadsTheRightTexels) {
    ASSERT_TRUE(ImageCodec::WritePng(m_dir / "Pattern.png", 16, 8, Pattern(16, 8)));
    HTEXTURE tex = hge->Texture_Load((m_dir / "Pattern.png").c_str());
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(hge->Texture_GetWidth(tex), 16);
    EXPECT_EQ(hge->Texture_GetHeight(tex), 8);
    EXPECT_EQ(hge->Texture_GetWidth(tex, true), 16);

    DWORD* p = hge->Texture_Lock(tex, true, 3, 2, 4, 5);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], ARGB(252, 3, 2, 7));
    EXPECT_EQ(p[1], ARGB(251, 4, 2, 7));
    EXPECT_EQ(p[16 * 2 + 3], ARGB(249, 6, 4, 7)) << "rows are one texture width apart";
    hge->Texture_Unlock(tex);

    DWORD* one = hge->Texture_Lock(tex, true, 15, 7, 1, 1);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(*one, ARGB(240, 15, 7, 7));
    hge->Texture_Unlock(tex);
    hge->Texture_Free(tex);
}

TEST_F(Textures, LockOutsideTheTextureOrOfUnknownHandleFails) {
    HTEXTURE tex = hge->Texture_Create(8, 4);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(hge->Texture_Lock(tex, true, 8, 0, 1, 1), nullptr);
    EXPECT_EQ(hge->Texture_Lock(tex, true, 0, 0, 9, 1), nullptr);
    EXPECT_EQ(hge->Texture_Lock(tex, true, -1, 0, 1, 1), nullptr);
    EXPECT_EQ(hge->Texture_Lock(tex, true, 6, 2, 3, 1), nullptr);
    EXPECT_EQ(hge->Texture_Lock(tex + 4, true), nullptr);
    EXPECT_EQ(hge->Texture_Lock(0, true), nullptr);
    hge->Texture_Unlock(tex + 4);
    EXPECT_EQ(hge->Texture_GetWidth(12345), 0);
    hge->Texture_Free(12345);  // unknown handles are ignored
    hge->Texture_Free(tex);
    hge->Texture_Free(tex);  // freeing twice is harmless
    EXPECT_EQ(hge->Texture_GetWidth(tex), 0);
}

TEST_F(Textures, WrittenTexelsStayAndCreatedTexturesStartTransparent) {
    HTEXTURE tex = hge->Texture_Create(4, 4);
    DWORD* all = hge->Texture_Lock(tex, false);
    ASSERT_NE(all, nullptr);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(all[i], 0u);
    all[5] = 0xFF112233;
    hge->Texture_Unlock(tex);
    DWORD* p = hge->Texture_Lock(tex, true, 1, 1, 1, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(*p, 0xFF112233u);
    hge->Texture_Unlock(tex);
}

TEST_F(Textures, LoadsFromMemoryAndRejectsBadData) {
    std::string png;
    ASSERT_TRUE(ImageCodec::WritePng(m_dir / "p.png", 3, 2, Pattern(3, 2)));
    ASSERT_TRUE(FileSystem::ReadFile(m_dir / "p.png", png));
    HTEXTURE tex = hge->Texture_Load(png.data(), DWORD(png.size()));
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(hge->Texture_GetWidth(tex), 3);

    ASSERT_TRUE(m_dir.Write("junk.png", "not an image at all"));
    EXPECT_EQ(hge->Texture_Load((m_dir / "junk.png").c_str()), 0u);
    EXPECT_EQ(hge->Texture_Load((m_dir / "missing.png").c_str()), 0u);
    EXPECT_EQ(hge->Texture_Load(png.data(), 10), 0u) << "a truncated image";
    EXPECT_EQ(hge->Texture_Create(0, 5), 0u);
    EXPECT_EQ(hge->Texture_Create(-3, 5), 0u);
}

TEST_F(Textures, LoadsThroughCaseInsensitivePaths) {
    ASSERT_TRUE(m_dir.Write("Data/Textures/.keep", ""));
    ASSERT_TRUE(ImageCodec::WritePng(m_dir / "Data/Textures/Lens.png", 2, 2, Pattern(2, 2)));
    std::string winPath = m_dir.Path() + "data\\textures\\LENS.PNG";
    HTEXTURE tex = hge->Texture_Load(winPath.c_str());
    EXPECT_NE(tex, 0u);
}

TEST_F(Textures, ResourceLoadReadsWholeFiles) {
    ASSERT_TRUE(m_dir.Write("Res/Main.res", std::string("abc\0def", 7)));
    DWORD size = 0;
    void* data = hge->Resource_Load((m_dir.Path() + "res\\main.res").c_str(), &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::string(static_cast<char*>(data), size), std::string("abc\0def", 7));
    hge->Resource_Free(data);
    EXPECT_EQ(hge->Resource_Load((m_dir / "none").c_str(), &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(hge->Resource_AttachPack("pack.paq"));
}
