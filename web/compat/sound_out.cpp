// The page's mixer, in place of src/sound/openal_out.cpp, which needs
// OpenAL Soft's extensions (the loopback device, the resampler) that
// emscripten's OpenAL lacks. Until the page plays sound through the browser's
// own audio, it says so once and the game plays silently, as on a desktop
// without a sound device; `audio` stays silent.
#include "sound/openal_out.h"

#include <cstdio>

// ---- functions -------------------------------------------------------------

bool openSoundDevice()
{
    std::fprintf(stderr, "quorvane: the page plays no sound yet; playing without sound\n");
    return false;
}

bool openSoundLoopback()
{
    std::fprintf(stderr, "quorvane: --sound-out needs the desktop game\n");
    return false;
}

void closeSound() {}
