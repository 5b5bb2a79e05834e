#include "platform/GlxDrawable.h"

#include <SDL.h>

#include <cstring>

// Kept apart: the X11 headers define names (None, Bool, Status) that clash
// with other code.
#include <GL/glx.h>

bool QueryGlxDrawableSize(int& width, int& height) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return false;
    unsigned w = 0, h = 0;
    glXQueryDrawable(display, drawable, GLX_WIDTH, &w);
    glXQueryDrawable(display, drawable, GLX_HEIGHT, &h);
    if (w == 0 || h == 0) return false;
    width = int(w);
    height = int(h);
    return true;
}
