// The backend without window or GL: fixed time step, no input of its own (input
// comes from the script or the test driver), quads counted instead of drawn.
#pragma once

#include "platform/Backend.h"

class HeadlessBackend : public Backend {
public:
    bool IsHeadless() const override { return true; }
    bool Initiate(const WindowConfig&, std::string&) override { return true; }
    void Shutdown() override {}
    void PumpEvents(InputState&, BackendEvents&) override {}
    float NextFrameDelta(int, float fixedDt) override { return fixedDt; }
    void BeginScene() override {}
    void Clear(unsigned) override {}
    void SetClipping(const ClipRect&) override {}
    bool EndScene(const std::string& snapshotPath) override { return snapshotPath.empty(); }
    void DrawBatch(const BatchKey&, const hgeQuad*, int) override {}
    void UploadTexture(Texture&) override {}
    void ReleaseTexture(Texture&) override {}
    void SetWindowed(bool) override {}
    void SetTitle(const std::string&) override {}
    void SetMouseVisible(bool) override {}
    bool OpenUrl(const std::string&) override { return false; }
};
