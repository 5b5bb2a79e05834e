#include "platform/HeadlessBackend.h"

Backend* CreateHeadlessBackend() { return new HeadlessBackend(); }
