#include "engine/EngineContext.h"

namespace ZOLTFramework {

namespace {
EngineContext* g_current = nullptr;
}

bool g_bConfirmExit = false;

EngineContext::EngineContext() { g_current = this; }

EngineContext::~EngineContext() {
    if (g_current == this) g_current = nullptr;
}

EngineContext* EngineContext::Current() { return g_current; }

}  // namespace ZOLTFramework
