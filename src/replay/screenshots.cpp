#include "replay/screenshots.h"

#include "assets/png.h"
#include "core/platform.h"
#include "game/state.h"

#include <GL/glut.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

// ---- state -----------------------------------------------------------------

static ShotList                   wanted;
static bool                       active = false;
static std::string                outputDir;
static std::vector<unsigned char> pixels;  // the latest frame read, bottom row first
static int                        keptFrame = 0;
static int                        keptWidth = 0;
static int                        keptHeight = 0;
static int                        swaps = 0;         // frames drawn so far
static int                        roomWidth = 0;     // pixels: the largest window to come, made
static int                        roomHeight = 0;    // room for at the first frame kept
static void                     (*realSwap)() = nullptr;

// ---- functions -------------------------------------------------------------

static bool positive(std::string_view text, int& value)
{
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    return status == std::errc() && end == text.data() + text.size() && value >= 1 && text[0] != '+';
}

static bool parseItem(std::string_view item, ShotList& list)
{
    if (item == "last") {
        list.lastFrame = true;
        return true;
    }
    const std::size_t dash = item.find('-');
    ShotList::Range range;
    if (dash == std::string_view::npos) {
        if (!positive(item, range.first))
            return false;
        range.last = range.first;
    } else if (!positive(item.substr(0, dash), range.first) || !positive(item.substr(dash + 1), range.last)
               || range.last < range.first) {
        return false;
    }
    list.ranges.push_back(range);
    return true;
}

bool parseShotList(std::string_view text, ShotList& list)
{
    list = ShotList{};
    if (text.empty())
        return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (!parseItem(text.substr(start, comma - start), list))
            return false;
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
    }
}

static bool listed(int frame)
{
    return std::any_of(wanted.ranges.begin(), wanted.ranges.end(),
                       [frame](const ShotList::Range& r) { return frame >= r.first && frame <= r.last; });
}

static void save(const char* name)
{
    char path[4096];
    std::snprintf(path, sizeof path, "%s/%s", outputDir.c_str(), name);
    if (!writePng(path, keptWidth, keptHeight, 3, pixels.data(), true))
        std::fprintf(stderr, "quorvane: could not write %s: %s\n", path, std::strerror(errno));
}

static void captureFrame(int frame, int width, int height)
{
    if (!active || width <= 0 || height <= 0 || !(wanted.lastFrame || listed(frame)))
        return;
    if (roomWidth > 0 && roomHeight > 0) {
        // no window outgrows the screen
        const int w = std::min(roomWidth, glutGet(GLUT_SCREEN_WIDTH)), h = std::min(roomHeight, glutGet(GLUT_SCREEN_HEIGHT));
        pixels.reserve(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0)) * 3);
        roomWidth = roomHeight = 0;
    }
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    keptFrame = frame;
    keptWidth = width;
    keptHeight = height;
    if (listed(frame)) {
        char name[32];
        std::snprintf(name, sizeof name, "shot-%d.png", frame);
        save(name);
    }
}

// Every frame ends in one swap, so the swaps count the frames. A replay
// gives the game the recorded size but keeps its window within the screen:
// only what the window holds is read.
static void capturingSwap()
{
    captureFrame(++swaps, std::min(game.windowWidth, glutGet(GLUT_WINDOW_WIDTH)),
                 std::min(game.windowHeight, glutGet(GLUT_WINDOW_HEIGHT)));
    realSwap();
}

void startScreenshots(const ShotList& list, const std::string& dir, int maxWidth, int maxHeight)
{
    wanted = list;
    outputDir = dir;
    active = list.lastFrame || !list.ranges.empty();
    if (!active)
        return;
    roomWidth = maxWidth;
    roomHeight = maxHeight;
    realSwap = platform.swapBuffers;
    platform.swapBuffers = capturingSwap;
}

void finishScreenshots()
{
    if (active && wanted.lastFrame && keptFrame > 0)
        save("shot-last.png");
    active = false;
}
