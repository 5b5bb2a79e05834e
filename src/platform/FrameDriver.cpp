#include "platform/FrameDriver.h"

#include "platform/Backend.h"

namespace FrameDriver {

namespace {

Driver* g_live = nullptr;

}  // namespace

Driver::~Driver() { Attach(nullptr); }

void Driver::Attach(FrameLoop* loop) {
    m_loop = loop;
    if (loop)
        g_live = this;
    else if (g_live == this)
        g_live = nullptr;
}

void Driver::Inject(const InputEvent& ev) { m_script.Add(FramesRun() + 1, ev); }

int Driver::QueueScript(const std::string& text) {
    InputScript relative;
    const int skipped = relative.Parse(text, "queued input");
    const int first = FramesRun();
    const int last = relative.LastFrame();
    for (int f = 1; f <= last; ++f)
        for (const InputEvent& ev : relative.Take(f)) m_script.Add(first + f, ev);
    return skipped;
}

int Driver::RunFrames(int n) {
    if (!m_loop) return 0;
    int run = 0;
    while (run < n) {
        ++run;
        if (!m_loop->RunFrame()) break;
    }
    return run;
}

void Driver::Record(const hgeQuad& quad, const ClipRect& clip) {
    RenderStats::RecordedQuad r;
    r.frame = FramesRun();
    r.quad = quad;
    r.clipped = clip.on;
    r.clipX = clip.x;
    r.clipY = clip.y;
    r.clipW = clip.w;
    r.clipH = clip.h;
    m_recorded.push_back(r);
}

Driver* Live() { return g_live; }

void Inject(const InputEvent& ev) {
    if (g_live) g_live->Inject(ev);
}

int QueueScript(const std::string& text) { return g_live ? g_live->QueueScript(text) : 0; }

int RunFrames(int n) { return g_live ? g_live->RunFrames(n) : 0; }

}  // namespace FrameDriver
