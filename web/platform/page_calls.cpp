// What the page asks of the game between its callbacks.
#include "replay/recorder.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

// ---- functions -------------------------------------------------------------

// Everything recorded since the page loaded, ended with its checksum and
// `end` as at exit, while the game plays on; "" with one line on standard
// error when there is none. The text lives until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quorvaneRecordingSoFar()
{
    static std::string copy;
    std::string error;
    copy = recordingSoFar(error);
    if (copy.empty())
        std::fprintf(stderr, "quorvane: cannot save the recording: %s\n", error.c_str());
    return copy.c_str();
}
