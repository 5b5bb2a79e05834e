#include "platform/Backend.h"

Backend* CreateGlBackend() { return nullptr; }
