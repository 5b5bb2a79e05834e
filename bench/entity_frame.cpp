// Frame cost of the entity manager: update and render pass per frame for 1,000
// and 10,000 entities on the headless backend. Each entity moves a little and
// submits one quad, a tenth of them change depth every frame (so the draw list
// is sorted again each frame), and half of them sit under a parent.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/core/CEntity.h"

using ZOLTFramework::CEngine;
using ZOLTFramework::CEntity;

namespace {

class BenchEngine : public CEngine {
public:
    explicit BenchEngine(const std::string& folder) { m_storageFolder = folder; }
};

class QuadEntity : public CEntity {
public:
    QuadEntity(int index, bool resorts) : m_resorts(resorts) {
        SetPosXY(float(index % 800), float((index / 800) % 600));
        SetDepth(float(index % 97));
        SetLayer(float(index % 7));
    }
    void Update(float dt) override {
        x += 10.0f * dt;
        if (m_resorts) SetDepth(GetDepth() + 0.01f);
    }
    void Render() override {
        hgeQuad q;
        const float ax = GetAbsoluteX(), ay = GetAbsoluteY();
        q.v[0].x = ax;
        q.v[0].y = ay;
        q.v[1].x = ax + 8;
        q.v[1].y = ay;
        q.v[2].x = ax + 8;
        q.v[2].y = ay + 8;
        q.v[3].x = ax;
        q.v[3].y = ay + 8;
        for (hgeVertex& v : q.v) v.col = 0xFFFFFFFF;
        engine->GetHGE()->Gfx_RenderQuad(&q);
    }

private:
    bool m_resorts;
};

double MeasureFrames(CEngine& engine, int count, int frames) {
    EntityManager* manager = engine.GetEntityManager();
    CEntity* lastRoot = nullptr;
    for (int i = 0; i < count; ++i) {
        auto* e = new QuadEntity(i, i % 10 == 0);
        if (i % 2 == 1 && lastRoot) e->AttachTo(lastRoot);
        else lastRoot = e;
        manager->Add(e);
    }
    engine.Frame();
    engine.Render();
    const auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f) {
        engine.Frame();
        engine.Render();
    }
    const auto end = std::chrono::steady_clock::now();
    // Leave nothing behind for the next size.
    for (CEntity* e : manager->GetDrawList()) e->Kill();
    manager->Update(0.0f);
    return std::chrono::duration<double, std::milli>(end - start).count() / frames;
}

}  // namespace

int main() {
    setenv("DROVALIN_HEADLESS", "1", 0);
    char folder[] = "/tmp/drovalin_bench_XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string storage = std::string(folder) + "/";
    {
        BenchEngine engine(storage);
        if (!engine.Init()) {
            std::fprintf(stderr, "engine start-up failed\n");
            return 1;
        }
        for (int count : {1000, 10000}) {
            const int frames = count >= 10000 ? 100 : 500;
            const double ms = MeasureFrames(engine, count, frames);
            std::printf("%6d entities: %.3f ms per frame (update + render, %d frames)\n", count, ms, frames);
        }
    }
    std::system(("rm -rf '" + storage + "'").c_str());
    return 0;
}
