#include "GraphicsTestUtil.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/RenderStats.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace gfxtest {

namespace {

std::string g_logPath;

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char tmpl[] = "/tmp/drovalin_gfxlog_XXXXXX";
        char* dir = mkdtemp(tmpl);
        ASSERT_NE(dir, nullptr);
        logDir = dir;
        g_logPath = logDir + "/graphics_test.log";
        hge = hgeCreate(HGE_VERSION);
        hge->System_SetState(HGE_LOGFILE, g_logPath.c_str());
        hge->System_SetState(HGE_WINDOWED, true);
        hge->System_SetState(HGE_USESOUND, false);
        hge->System_SetState(HGE_SHOWSPLASH, false);
        ASSERT_TRUE(hge->System_Initiate()) << hge->System_GetErrorMessage();
    }
    void TearDown() override {
        if (hge) {
            hge->System_Shutdown();
            hge->Release();
            hge = nullptr;
        }
        std::remove(g_logPath.c_str());
        rmdir(logDir.c_str());
    }
    HGE* hge = nullptr;
    std::string logDir;
};

EngineEnvironment* g_env = static_cast<EngineEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment));

}  // namespace

HGE* Engine() { return g_env->hge; }

std::vector<hgeQuad> Drawn(const std::function<void()>& draw) {
    EXPECT_TRUE(Engine()->Gfx_BeginScene());
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(true);
    draw();
    RenderStats::SetRecording(false);
    Engine()->Gfx_EndScene();
    std::vector<hgeQuad> quads;
    for (const RenderStats::RecordedQuad& r : RenderStats::Recorded()) quads.push_back(r.quad);
    return quads;
}

hgeQuad DrawnQuad(const std::function<void()>& draw) {
    std::vector<hgeQuad> quads = Drawn(draw);
    EXPECT_EQ(quads.size(), 1u);
    return quads.empty() ? hgeQuad() : quads[0];
}

TempDir::TempDir() {
    char tmpl[] = "/tmp/drovalin_gfx_XXXXXX";
    char* dir = mkdtemp(tmpl);
    path = dir ? dir : "/tmp";
}

TempDir::~TempDir() {
    std::string cmd = "rm -rf '" + path + "'";
    if (path.rfind("/tmp/drovalin_gfx_", 0) == 0) {
        int rc = std::system(cmd.c_str());
        (void)rc;
    }
}

std::string TempDir::Write(const std::string& name, const std::string& data) const {
    std::string full = File(name);
    std::ofstream out(full, std::ios::binary);
    out.write(data.data(), (std::streamsize)data.size());
    return full;
}

std::string TempDir::WritePng(const std::string& name, int width, int height,
                              const std::vector<uint32_t>& argb) const {
    std::vector<unsigned char> rgba((size_t)width * height * 4);
    for (size_t i = 0; i < (size_t)width * height; i++) {
        uint32_t p = i < argb.size() ? argb[i] : 0;
        rgba[i * 4 + 0] = (p >> 16) & 0xFF;
        rgba[i * 4 + 1] = (p >> 8) & 0xFF;
        rgba[i * 4 + 2] = p & 0xFF;
        rgba[i * 4 + 3] = (p >> 24) & 0xFF;
    }
    std::string full = File(name);
    stbi_write_png(full.c_str(), width, height, 4, rgba.data(), width * 4);
    return full;
}

std::string ReadLog() {
    std::ifstream in(g_logPath, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace gfxtest
