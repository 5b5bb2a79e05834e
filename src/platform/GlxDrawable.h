// The size of the current OpenGL drawable as the X server has it. Without a
// window manager, X keeps a window at its size whatever full-screen state SDL
// asked for and now reports; the drawable tells what the window really shows.
#pragma once

// False (sizes untouched) when the current context is no GLX one (another
// video driver, no context).
bool QueryGlxDrawableSize(int& width, int& height);
