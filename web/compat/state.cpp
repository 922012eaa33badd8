// The pointer, which a page cannot move.
#define QUORVANE_GL_COMPAT_SOURCE
#include "gl_compat.h"

#include <emscripten.h>

// A page cannot move the pointer: it keeps a virtual one, puts it back in the
// middle and delivers the motion that X would deliver for the warp.
EM_JS(void, pageWarpPointer, (int x, int y), {
    if (Module.warpPointer)
        Module.warpPointer(x, y);
});

void qvWarpPointer(int x, int y) { pageWarpPointer(x, y); }
